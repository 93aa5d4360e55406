#ifndef RUZ_BASE_LINKLIST_H
#define RUZ_BASE_LINKLIST_H

#include <algorithm>
#include <limits>
#include <memory>
#include <type_traits>

#include "ruz/base/collection.h"
#include "ruz/base/iterator.h"
#include "ruz/base/linkchain.h"

namespace RUZ {

// Conversions between element pointers and the chain's untyped pointers.
template <class T>
void* untypedElement(T* element) {
    return const_cast<std::remove_cv_t<T>*>(element);
}

template <class T>
T* typedElement(void* element) {
    return static_cast<T*>(element);
}

// A cursor over a LinkList. It stands on a node of the list, so what a change
// of the list does to it follows the list's node technique: at the end it
// stands on the element appended next; on a removed element it sees the
// element that took that element's node. It must not outlive the list.
template <class T>
class LinkIterator : public Iterator<T> {
public:
    explicit LinkIterator(const LinkChain& chain) : chain_(&chain), node_(chain.head()) {}

    T* current() const override { return typedElement<T>(node_->element); }

    // The end node holds null and links to itself, so at the end this
    // answers null and stays.
    T* next() override {
        T* element = current();
        node_ = node_->next;
        return element;
    }

    // From the first element it moves to the end, as nodeBefore answers the
    // end node there.
    T* previous() override {
        if (!hasMore()) return nullptr;
        T* element = current();
        node_ = chain_->nodeBefore(node_);
        return element;
    }

    T* first() override {
        node_ = chain_->head();
        return current();
    }

    T* last() override {
        node_ = chain_->lastNode();
        return current();
    }

    bool hasMore() const override { return node_ != chain_->end(); }

    unsigned position() const override { return chain_->numberOf(node_); }

private:
    const LinkChain* chain_;
    const LinkNode* node_;
};

// A singly linked list of element pointers with an end node. Every
// single-element operation forwards to the shared LinkChain, except `get`,
// which asks `at`. The bulk operations are built on this list's own virtual
// operations (append, prepend, insertAt, insertAfterAt, remove, clear,
// indexOf), and those named after another operation (insertAllBefore after
// insertAllAt, assign after appendAll, ...) call it, so a derived list that
// overrides any of these changes them too. The list owns its nodes, never its
// elements, and cannot be copied.
template <class T>
class LinkList : public XList<T> {
public:
    LinkList() = default;
    LinkList(const LinkList&) = delete;
    LinkList& operator=(const LinkList&) = delete;

    ~LinkList() override = default;

    bool isEmpty() const override { return chain_.isEmpty(); }
    unsigned count() const override { return chain_.count(); }
    bool add(T* element) override {
        append(element);
        return true;
    }
    bool remove(T* element) override { return chain_.remove(untypedElement(element)); }
    void clear() override { chain_.clear(); }
    bool contains(T* element) override { return chain_.contains(untypedElement(element)); }
    Iterator<T>* newIterator() const override { return new LinkIterator<T>(chain_); }

    T* at(unsigned index) const override { return typedElement<T>(chain_.at(index)); }
    // The element at index number - 1; number 0 names none.
    T* get(unsigned number) const override { return number == 0 ? nullptr : this->at(number - 1); }
    unsigned indexOf(T* element) override { return chain_.indexOf(untypedElement(element)); }
    T* before(T* element) override { return typedElement<T>(chain_.before(untypedElement(element))); }
    T* after(T* element) override { return typedElement<T>(chain_.after(untypedElement(element))); }
    T* first() const override { return typedElement<T>(chain_.first()); }
    T* last() const override { return typedElement<T>(chain_.last()); }
    const void* prepend(T* element) override { return chain_.prepend(untypedElement(element)); }
    T* removeFirst() override { return typedElement<T>(chain_.removeFirst()); }
    const void* append(T* element) override { return chain_.append(untypedElement(element)); }
    T* removeLast() override { return typedElement<T>(chain_.removeLast()); }
    bool insertBefore(T* existing, T* element) override {
        return chain_.insertBefore(untypedElement(existing), untypedElement(element));
    }
    bool insertAt(unsigned number, T* element) override {
        return chain_.insertAt(number, untypedElement(element));
    }
    bool insertAfter(T* existing, T* element) override {
        return chain_.insertAfter(untypedElement(existing), untypedElement(element));
    }
    bool insertAfterAt(unsigned number, T* element) override {
        return chain_.insertAfterAt(number, untypedElement(element));
    }
    bool removeAt(unsigned number) override { return chain_.removeAt(number); }
    bool replace(T* old, T* element) override {
        return chain_.replace(untypedElement(old), untypedElement(element));
    }
    bool setAt(unsigned number, T* element) override { return chain_.setAt(number, untypedElement(element)); }
    bool swapAt(unsigned number1, unsigned number2) override { return chain_.swapAt(number1, number2); }
    bool swap(T* element1, T* element2) override {
        return chain_.swap(untypedElement(element1), untypedElement(element2));
    }
    bool removeBefore(T* element) override { return chain_.removeBefore(untypedElement(element)); }
    bool removeBeforeAt(unsigned number) override { return chain_.removeBeforeAt(number); }
    bool removeAfter(T* element) override { return chain_.removeAfter(untypedElement(element)); }
    bool removeAfterAt(unsigned number) override { return chain_.removeAfterAt(number); }
    bool removeRange(T* element1, T* element2) override {
        return chain_.removeRange(untypedElement(element1), untypedElement(element2));
    }
    bool removeRangeAt(unsigned number1, unsigned number2) override {
        return chain_.removeRangeAt(number1, number2);
    }

    bool appendRange(const Collection<T>& collection, unsigned from, unsigned to) override {
        return appendStretch(collection, from, to);
    }
    bool appendAll(const Collection<T>& collection) override { return appendStretch(collection, 1, all); }
    bool prependRange(const Collection<T>& collection, unsigned from, unsigned to) override {
        return prependStretch(collection, from, to);
    }
    bool prependAll(const Collection<T>& collection) override { return prependStretch(collection, 1, all); }
    bool addRange(const Collection<T>& collection, unsigned from, unsigned to) override {
        return appendStretch(collection, from, to);
    }
    bool addAll(const Collection<T>& collection) override { return appendStretch(collection, 1, all); }
    bool insertRangeBefore(T* existing, const Collection<T>& collection, unsigned from,
                           unsigned to) override {
        return this->insertRangeAt(this->indexOf(existing), collection, from, to);
    }
    bool insertRangeAt(unsigned number, const Collection<T>& collection, unsigned from,
                       unsigned to) override {
        return insertStretchAt(number, collection, from, to);
    }
    bool insertAllBefore(T* existing, const Collection<T>& collection) override {
        const unsigned number = this->indexOf(existing);
        return number != 0 && this->insertAllAt(number, collection);
    }
    bool insertAllAt(unsigned number, const Collection<T>& collection) override {
        return insertStretchAt(number, collection, 1, all);
    }
    bool insertRangeAfter(T* existing, const Collection<T>& collection, unsigned from,
                          unsigned to) override {
        return this->insertRangeAfterAt(this->indexOf(existing), collection, from, to);
    }
    bool insertRangeAfterAt(unsigned number, const Collection<T>& collection, unsigned from,
                            unsigned to) override {
        return insertStretchAfterAt(number, collection, from, to);
    }
    bool insertAllAfter(T* existing, const Collection<T>& collection) override {
        const unsigned number = this->indexOf(existing);
        return number != 0 && this->insertAllAfterAt(number, collection);
    }
    bool insertAllAfterAt(unsigned number, const Collection<T>& collection) override {
        return insertStretchAfterAt(number, collection, 1, all);
    }
    bool assignRange(const Collection<T>& collection, unsigned from, unsigned to) override {
        this->clear();
        return this->appendRange(collection, from, to);
    }
    bool assign(const Collection<T>& collection) override {
        this->clear();
        return this->appendAll(collection);
    }
    void assignReversed(const Collection<T>& collection) override {
        this->clear();
        forStretch(collection, 1, all, [this](T* element) {
            this->prepend(element);
            return true;
        });
    }
    bool removeRangeOf(const Collection<T>& collection, unsigned from, unsigned to) override {
        return removeStretch(collection, from, to);
    }
    bool removeAllOf(const Collection<T>& collection) override { return removeStretch(collection, 1, all); }

private:
    // The upper bound that selects every element of a collection.
    static constexpr unsigned all = std::numeric_limits<unsigned>::max();

    // Walks `collection` once and hands each element numbered from
    // min(from, to) to max(from, to) to `place`, stopping when the collection
    // ends or `place` answers false. False for a bound of 0 or a failed place.
    template <class Place>
    static bool forStretch(const Collection<T>& collection, unsigned from, unsigned to, Place place) {
        if (from == 0 || to == 0) return false;
        const unsigned low = std::min(from, to);
        const unsigned high = std::max(from, to);
        const std::unique_ptr<Iterator<T>> walk(collection.newIterator());
        for (unsigned number = 1; walk->hasMore(); ++number) {
            T* element = walk->current();
            walk->next();
            if (number >= low && !place(element)) return false;
            if (number == high) break;
        }
        return true;
    }

    bool appendStretch(const Collection<T>& collection, unsigned from, unsigned to) {
        return forStretch(collection, from, to, [this](T* element) {
            this->append(element);
            return true;
        });
    }

    // The first element is prepended, each further one goes after the one
    // placed before it.
    bool prependStretch(const Collection<T>& collection, unsigned from, unsigned to) {
        unsigned placed = 0;
        return forStretch(collection, from, to, [this, &placed](T* element) {
            if (placed == 0) {
                this->prepend(element);
            } else if (!this->insertAfterAt(placed, element)) {
                return false;
            }
            ++placed;
            return true;
        });
    }

    bool insertStretchAt(unsigned number, const Collection<T>& collection, unsigned from, unsigned to) {
        return forStretch(collection, from, to, [this, &number](T* element) {
            return this->insertAt(number++, element);
        });
    }

    bool insertStretchAfterAt(unsigned number, const Collection<T>& collection, unsigned from,
                              unsigned to) {
        return forStretch(collection, from, to, [this, &number](T* element) {
            return this->insertAfterAt(number++, element);
        });
    }

    bool removeStretch(const Collection<T>& collection, unsigned from, unsigned to) {
        return forStretch(collection, from, to, [this](T* element) { return this->remove(element); });
    }

    LinkChain chain_;
};

}  // namespace RUZ

#endif
