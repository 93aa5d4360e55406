#ifndef RUZ_BASE_COLLECTION_H
#define RUZ_BASE_COLLECTION_H

#include "ruz/base/iterator.h"
#include "ruz/base/object.h"

namespace RUZ {

// A container of pointers to elements. It never owns, copies or compares the
// elements themselves: they are compared by identity. Null can be stored, but
// lookups also answer null when they find nothing. Nothing throws for an
// absent element or a bad number; only running out of memory throws.
//
// Searches may write the container (a linked list plants the sought pointer
// in its end node), which is why they are not const.
template <class T>
class Collection : public Object {
public:
    virtual ~Collection() = default;

    virtual bool isEmpty() const = 0;
    virtual unsigned count() const = 0;
    // The same as append; always true.
    virtual bool add(T* element) = 0;
    // Removes the first occurrence; false if absent.
    virtual bool remove(T* element) = 0;
    virtual void clear() = 0;
    virtual bool contains(T* element) = 0;
    // A new iterator standing on the first element; the caller deletes it.
    virtual Iterator<T>* newIterator() const = 0;
};

// An ordered collection with the single-element operations. Elements are
// named by numbers counted from 1 (except `at`, which takes a 0-based index);
// 0 and numbers past the last element name none. Operations given an
// element act on its first occurrence.
template <class T>
class List : public Collection<T> {
public:
    // Null once the index reaches the end.
    virtual T* at(unsigned index) const = 0;
    virtual T* get(unsigned number) const = 0;
    // The number of the first occurrence; 0 if absent.
    virtual unsigned indexOf(T* element) = 0;
    // The element just before the first occurrence; null if absent or first.
    virtual T* before(T* element) = 0;
    // The element just after the first occurrence; null if absent or last.
    virtual T* after(T* element) = 0;
    virtual T* first() const = 0;
    virtual T* last() const = 0;
    // Both answer a non-null handle of the place now holding the element.
    virtual const void* prepend(T* element) = 0;
    virtual T* removeFirst() = 0;
    virtual const void* append(T* element) = 0;
    virtual T* removeLast() = 0;
    virtual bool insertBefore(T* existing, T* element) = 0;
    // Inserts before the element with that number, so it cannot append.
    virtual bool insertAt(unsigned number, T* element) = 0;
    virtual bool insertAfter(T* existing, T* element) = 0;
    virtual bool insertAfterAt(unsigned number, T* element) = 0;
    virtual bool removeAt(unsigned number) = 0;
    virtual bool replace(T* old, T* element) = 0;
    virtual bool setAt(unsigned number, T* element) = 0;
    virtual bool swapAt(unsigned number1, unsigned number2) = 0;
    virtual bool swap(T* element1, T* element2) = 0;
    // Drops every element before the given one, which becomes the first.
    virtual bool removeBefore(T* element) = 0;
    virtual bool removeBeforeAt(unsigned number) = 0;
    // Drops every element after the given one, which becomes the last.
    virtual bool removeAfter(T* element) = 0;
    virtual bool removeAfterAt(unsigned number) = 0;
    // Removes the inclusive stretch between the two, in either order.
    virtual bool removeRange(T* element1, T* element2) = 0;
    virtual bool removeRangeAt(unsigned number1, unsigned number2) = 0;
};

// A list with the bulk operations over another collection, which must not be
// the list itself. `from` and `to` are element numbers of that collection,
// given in either order; the Range forms act on the elements numbered from
// the smaller to the larger (fewer if the collection ends first) and answer
// false, doing nothing, if either is 0. The other forms act on every
// element. A failed insertion or removal ends the operation with false; what
// was done before stays done.
template <class T>
class XList : public List<T> {
public:
    // Appended in the collection's order; true unless a bound is 0.
    virtual bool appendRange(const Collection<T>& collection, unsigned from, unsigned to) = 0;
    virtual bool appendAll(const Collection<T>& collection) = 0;
    // Put at the front, keeping the collection's order.
    virtual bool prependRange(const Collection<T>& collection, unsigned from, unsigned to) = 0;
    virtual bool prependAll(const Collection<T>& collection) = 0;
    // The same as appendRange and appendAll.
    virtual bool addRange(const Collection<T>& collection, unsigned from, unsigned to) = 0;
    virtual bool addAll(const Collection<T>& collection) = 0;
    // insertRangeAt at the number of `existing` (0 if absent).
    virtual bool insertRangeBefore(T* existing, const Collection<T>& collection, unsigned from,
                                   unsigned to) = 0;
    // Inserted before the element with that number, keeping their order.
    virtual bool insertRangeAt(unsigned number, const Collection<T>& collection, unsigned from,
                               unsigned to) = 0;
    // False if `existing` is absent; else insertAllAt at its number.
    virtual bool insertAllBefore(T* existing, const Collection<T>& collection) = 0;
    virtual bool insertAllAt(unsigned number, const Collection<T>& collection) = 0;
    // insertRangeAfterAt at the number of `existing` (0 if absent).
    virtual bool insertRangeAfter(T* existing, const Collection<T>& collection, unsigned from,
                                  unsigned to) = 0;
    // Inserted after the element with that number, keeping their order.
    virtual bool insertRangeAfterAt(unsigned number, const Collection<T>& collection, unsigned from,
                                    unsigned to) = 0;
    // False if `existing` is absent; else insertAllAfterAt at its number.
    virtual bool insertAllAfter(T* existing, const Collection<T>& collection) = 0;
    virtual bool insertAllAfterAt(unsigned number, const Collection<T>& collection) = 0;
    // Clear first (even when a bound is 0), then append.
    virtual bool assignRange(const Collection<T>& collection, unsigned from, unsigned to) = 0;
    virtual bool assign(const Collection<T>& collection) = 0;
    // Clear, then prepend each element: the list ends up in reverse order.
    virtual void assignReversed(const Collection<T>& collection) = 0;
    // Removes the first occurrence of each; false at the first absent one.
    virtual bool removeRangeOf(const Collection<T>& collection, unsigned from, unsigned to) = 0;
    virtual bool removeAllOf(const Collection<T>& collection) = 0;
};

}  // namespace RUZ

#endif
