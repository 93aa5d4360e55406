// Random operations applied both to a LinkList and to a plain vector model;
// every result and the whole sequence are compared after each step.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ruz/base/linklist.h"

namespace RUZ {
namespace {

struct Item {
    char name;
};

using Items = std::vector<Item*>;

// Pointers of the model; numbers count from 1 as in the list.
class VectorModel {
public:
    Items elements;

    unsigned size() const { return static_cast<unsigned>(elements.size()); }
    bool hasNumber(unsigned number) const { return number >= 1 && number <= size(); }
    unsigned indexOf(Item* element) const {
        const auto found = std::find(elements.begin(), elements.end(), element);
        return found == elements.end() ? 0 : static_cast<unsigned>(found - elements.begin()) + 1;
    }
    Item* get(unsigned number) const { return hasNumber(number) ? elements[number - 1] : nullptr; }
    void insertAt(unsigned index, const Items& stretch) {
        elements.insert(elements.begin() + index, stretch.begin(), stretch.end());
    }
    void erase(unsigned fromIndex, unsigned toIndex) {
        elements.erase(elements.begin() + fromIndex, elements.begin() + toIndex);
    }

    bool remove(Item* element) {
        const unsigned number = indexOf(element);
        if (number != 0) erase(number - 1, number);
        return number != 0;
    }

    // The elements of `collection` numbered from min(from, to) to
    // max(from, to); both bounds are non-zero.
    static Items stretch(const Items& collection, unsigned from, unsigned to) {
        const std::size_t low = std::min(from, to);
        const std::size_t high = std::min<std::size_t>(std::max(from, to), collection.size());
        return low > high ? Items{} : Items(collection.begin() + (low - 1), collection.begin() + high);
    }

    // Insertion at a number either places all of the stretch or, when the
    // number names no element, fails at the first element.
    bool insertStretch(unsigned number, const Items& stretch, bool after) {
        if (stretch.empty()) return true;
        if (!hasNumber(number)) return false;
        insertAt(after ? number : number - 1, stretch);
        return true;
    }

    bool removeEach(const Items& stretch) {
        for (Item* element : stretch) {
            if (!remove(element)) return false;
        }
        return true;
    }
};

std::string show(const Item* item) { return item == nullptr ? "null" : std::string(1, item->name); }
std::string show(unsigned number) { return std::to_string(number); }
std::string show(bool flag) { return flag ? "true" : "false"; }
std::string show(const Items& items) {
    std::string text = "[";
    for (const Item* item : items) text += item == nullptr ? '0' : item->name;
    return text + "]";
}

Items contentsOf(const Collection<Item>& list) {
    Items elements;
    const std::unique_ptr<Iterator<Item>> walk(list.newIterator());
    while (walk->hasMore()) elements.push_back(walk->next());
    return elements;
}

class ModelRun {
public:
    explicit ModelRun(std::uint32_t seed) : random_(seed) {}

    // Runs until the first step whose results differ; answers a description
    // of that step, or an empty text.
    std::string run(int steps) {
        const auto operations = operationTable();
        for (int step = 1; step <= steps; ++step) {
            const Operation& operation = operations[below(operations.size())];
            call_ = operation.name;
            mismatch_.clear();
            operation.apply();
            compareWhole();
            if (!mismatch_.empty()) return "step " + std::to_string(step) + ": " + call_ + ": " + mismatch_;
        }
        return {};
    }

private:
    struct Operation {
        const char* name;
        std::function<void()> apply;
    };

    std::size_t below(std::size_t bound) { return random_() % bound; }

    // An element of the pool, null, or one that is never placed in any list.
    Item* anyElement() {
        const std::size_t pick = below(pool_.size() + 2);
        if (pick < pool_.size()) return &pool_[pick];
        return pick == pool_.size() ? nullptr : &stranger_;
    }
    Item* placedElement() {
        const std::size_t pick = below(pool_.size() + 1);
        return pick < pool_.size() ? &pool_[pick] : nullptr;
    }
    // Usually one that names an element or lies just past the end; now and
    // then the largest number.
    unsigned anyNumber(unsigned size) {
        if (below(20) == 0) return std::numeric_limits<unsigned>::max();
        return static_cast<unsigned>(below(size + 3));
    }
    unsigned bound(unsigned size) { return below(8) == 0 ? 0 : static_cast<unsigned>(below(size + 3)) + 1; }

    // A fresh other collection for a bulk operation.
    void drawCollection() {
        other_ = std::make_unique<LinkList<Item>>();
        otherModel_.clear();
        const std::size_t length = below(6);
        for (std::size_t i = 0; i < length; ++i) {
            Item* element = placedElement();
            other_->append(element);
            otherModel_.push_back(element);
        }
        call_ += " of " + show(otherModel_);
    }

    template <class Result>
    void expectSame(const Result& actual, const Result& expected) {
        if (mismatch_.empty() && actual != expected) {
            mismatch_ = "list answered " + show(actual) + ", model " + show(expected);
        }
    }

    template <class... Args>
    void describe(Args... args) {
        std::string text = call_ + "(";
        const char* separator = "";
        ((text += separator + show(args), separator = ", "), ...);
        call_ = text + ")";
    }

    void compareWhole() {
        const Items actual = contentsOf(list_);
        if (mismatch_.empty() && actual != model_.elements) {
            mismatch_ = "list holds " + show(actual) + ", model " + show(model_.elements);
        }
        expectSame(list_.count(), model_.size());
        expectSame(list_.isEmpty(), model_.elements.empty());
        expectSame(list_.first(), model_.get(1));
        expectSame(list_.last(), model_.get(model_.size()));
    }

    // A random walk of an iterator against positions in the model, where
    // `index` equal to the size stands for the end.
    void walkIterator() {
        const std::unique_ptr<Iterator<Item>> walk(list_.newIterator());
        const Items& v = model_.elements;
        const std::size_t n = v.size();
        std::size_t index = 0;
        for (int move = 0; move < 8 && mismatch_.empty(); ++move) {
            const Item* onIndex = index < n ? v[index] : nullptr;
            switch (below(4)) {
                case 0:
                    expectSame<const Item*>(walk->next(), onIndex);
                    if (index < n) ++index;
                    break;
                case 1:
                    expectSame<const Item*>(walk->previous(), onIndex);
                    if (index < n) index = index == 0 ? n : index - 1;
                    break;
                case 2:
                    index = 0;
                    expectSame<const Item*>(walk->first(), n == 0 ? nullptr : v[0]);
                    break;
                default:
                    index = n == 0 ? 0 : n - 1;
                    expectSame<const Item*>(walk->last(), n == 0 ? nullptr : v[n - 1]);
                    break;
            }
            expectSame(walk->hasMore(), index < n);
            expectSame(walk->position(), static_cast<unsigned>(index < n ? index + 1 : n));
            expectSame<const Item*>(walk->current(), index < n ? v[index] : nullptr);
        }
    }

    std::vector<Operation> operationTable();

    std::mt19937 random_;
    std::vector<Item> pool_{{'a'}, {'b'}, {'c'}, {'d'}, {'e'}};
    Item stranger_{'z'};
    LinkList<Item> list_;
    VectorModel model_;
    std::unique_ptr<LinkList<Item>> other_;
    Items otherModel_;
    std::string call_;
    std::string mismatch_;
};

std::vector<ModelRun::Operation> ModelRun::operationTable() {
    VectorModel& m = model_;
    LinkList<Item>& l = list_;
    return {
        {"add", [&] { Item* e = placedElement(); describe(e); expectSame(l.add(e), true); m.elements.push_back(e); }},
        {"remove", [&] { Item* e = anyElement(); describe(e); expectSame(l.remove(e), m.remove(e)); }},
        {"clear", [&] { if (below(4) == 0) { l.clear(); m.elements.clear(); } }},
        {"contains", [&] { Item* e = anyElement(); describe(e); expectSame(l.contains(e), m.indexOf(e) != 0); }},
        {"iterate", [&] { walkIterator(); }},
        {"at", [&] {
            const unsigned i = anyNumber(m.size());
            describe(i);
            expectSame(l.at(i), i < m.size() ? m.elements[i] : nullptr);
        }},
        {"get", [&] { const unsigned n = anyNumber(m.size()); describe(n); expectSame(l.get(n), m.get(n)); }},
        {"indexOf", [&] { Item* e = anyElement(); describe(e); expectSame(l.indexOf(e), m.indexOf(e)); }},
        {"before", [&] {
            Item* e = anyElement();
            describe(e);
            const unsigned n = m.indexOf(e);
            expectSame(l.before(e), n > 1 ? m.get(n - 1) : nullptr);
        }},
        {"after", [&] {
            Item* e = anyElement();
            describe(e);
            const unsigned n = m.indexOf(e);
            expectSame(l.after(e), n != 0 ? m.get(n + 1) : nullptr);
        }},
        {"prepend", [&] {
            Item* e = placedElement();
            describe(e);
            expectSame(l.prepend(e) != nullptr, true);
            m.insertAt(0, {e});
        }},
        {"removeFirst", [&] {
            expectSame(l.removeFirst(), m.get(1));
            if (m.size() != 0) m.erase(0, 1);
        }},
        {"append", [&] {
            Item* e = placedElement();
            describe(e);
            expectSame(l.append(e) != nullptr, true);
            m.elements.push_back(e);
        }},
        {"removeLast", [&] {
            expectSame(l.removeLast(), m.get(m.size()));
            if (m.size() != 0) m.elements.pop_back();
        }},
        {"insertBefore", [&] {
            Item* existing = anyElement();
            Item* e = placedElement();
            describe(existing, e);
            expectSame(l.insertBefore(existing, e), m.insertStretch(m.indexOf(existing), {e}, false));
        }},
        {"insertAt", [&] {
            const unsigned n = anyNumber(m.size());
            Item* e = placedElement();
            describe(n, e);
            expectSame(l.insertAt(n, e), m.insertStretch(n, {e}, false));
        }},
        {"insertAfter", [&] {
            Item* existing = anyElement();
            Item* e = placedElement();
            describe(existing, e);
            expectSame(l.insertAfter(existing, e), m.insertStretch(m.indexOf(existing), {e}, true));
        }},
        {"insertAfterAt", [&] {
            const unsigned n = anyNumber(m.size());
            Item* e = placedElement();
            describe(n, e);
            expectSame(l.insertAfterAt(n, e), m.insertStretch(n, {e}, true));
        }},
        {"removeAt", [&] {
            const unsigned n = anyNumber(m.size());
            describe(n);
            expectSame(l.removeAt(n), m.hasNumber(n));
            if (m.hasNumber(n)) m.erase(n - 1, n);
        }},
        {"replace", [&] {
            Item* old = anyElement();
            Item* e = placedElement();
            describe(old, e);
            const unsigned n = m.indexOf(old);
            expectSame(l.replace(old, e), n != 0);
            if (n != 0) m.elements[n - 1] = e;
        }},
        {"setAt", [&] {
            const unsigned n = anyNumber(m.size());
            Item* e = placedElement();
            describe(n, e);
            expectSame(l.setAt(n, e), m.hasNumber(n));
            if (m.hasNumber(n)) m.elements[n - 1] = e;
        }},
        {"swapAt", [&] {
            const unsigned n1 = anyNumber(m.size()), n2 = anyNumber(m.size());
            describe(n1, n2);
            const bool both = m.hasNumber(n1) && m.hasNumber(n2);
            expectSame(l.swapAt(n1, n2), both);
            if (both) std::swap(m.elements[n1 - 1], m.elements[n2 - 1]);
        }},
        {"swap", [&] {
            Item* e1 = anyElement();
            Item* e2 = anyElement();
            describe(e1, e2);
            const unsigned n1 = m.indexOf(e1), n2 = m.indexOf(e2);
            expectSame(l.swap(e1, e2), n1 != 0 && n2 != 0);
            if (n1 != 0 && n2 != 0) std::swap(m.elements[n1 - 1], m.elements[n2 - 1]);
        }},
        {"removeBefore", [&] {
            Item* e = anyElement();
            describe(e);
            const unsigned n = m.indexOf(e);
            expectSame(l.removeBefore(e), n != 0);
            if (n != 0) m.erase(0, n - 1);
        }},
        {"removeBeforeAt", [&] {
            const unsigned n = anyNumber(m.size());
            describe(n);
            expectSame(l.removeBeforeAt(n), m.hasNumber(n));
            if (m.hasNumber(n)) m.erase(0, n - 1);
        }},
        {"removeAfter", [&] {
            Item* e = anyElement();
            describe(e);
            const unsigned n = m.indexOf(e);
            expectSame(l.removeAfter(e), n != 0);
            if (n != 0) m.erase(n, m.size());
        }},
        {"removeAfterAt", [&] {
            const unsigned n = anyNumber(m.size());
            describe(n);
            expectSame(l.removeAfterAt(n), m.hasNumber(n));
            if (m.hasNumber(n)) m.erase(n, m.size());
        }},
        {"removeRange", [&] {
            Item* e1 = anyElement();
            Item* e2 = anyElement();
            describe(e1, e2);
            const unsigned n1 = m.indexOf(e1), n2 = m.indexOf(e2);
            expectSame(l.removeRange(e1, e2), n1 != 0 && n2 != 0);
            if (n1 != 0 && n2 != 0) m.erase(std::min(n1, n2) - 1, std::max(n1, n2));
        }},
        {"removeRangeAt", [&] {
            const unsigned n1 = anyNumber(m.size()), n2 = anyNumber(m.size());
            describe(n1, n2);
            const bool both = m.hasNumber(n1) && m.hasNumber(n2);
            expectSame(l.removeRangeAt(n1, n2), both);
            if (both) m.erase(std::min(n1, n2) - 1, std::max(n1, n2));
        }},
        {"appendRange", [&] {
            drawCollection();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.appendRange(*other_, from, to), valid);
            if (valid) m.insertAt(m.size(), m.stretch(otherModel_, from, to));
        }},
        {"appendAll", [&] {
            drawCollection();
            expectSame(l.appendAll(*other_), true);
            m.insertAt(m.size(), otherModel_);
        }},
        {"prependRange", [&] {
            drawCollection();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.prependRange(*other_, from, to), valid);
            if (valid) m.insertAt(0, m.stretch(otherModel_, from, to));
        }},
        {"prependAll", [&] {
            drawCollection();
            expectSame(l.prependAll(*other_), true);
            m.insertAt(0, otherModel_);
        }},
        {"addRange", [&] {
            drawCollection();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.addRange(*other_, from, to), valid);
            if (valid) m.insertAt(m.size(), m.stretch(otherModel_, from, to));
        }},
        {"addAll", [&] {
            drawCollection();
            expectSame(l.addAll(*other_), true);
            m.insertAt(m.size(), otherModel_);
        }},
        {"insertRangeBefore", [&] {
            drawCollection();
            Item* existing = anyElement();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(existing, from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.insertRangeBefore(existing, *other_, from, to),
                       valid && m.insertStretch(m.indexOf(existing), m.stretch(otherModel_, from, to), false));
        }},
        {"insertRangeAt", [&] {
            drawCollection();
            const unsigned n = anyNumber(m.size());
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(n, from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.insertRangeAt(n, *other_, from, to),
                       valid && m.insertStretch(n, m.stretch(otherModel_, from, to), false));
        }},
        {"insertAllBefore", [&] {
            drawCollection();
            Item* existing = anyElement();
            describe(existing);
            const unsigned n = m.indexOf(existing);
            expectSame(l.insertAllBefore(existing, *other_), n != 0 && m.insertStretch(n, otherModel_, false));
        }},
        {"insertAllAt", [&] {
            drawCollection();
            const unsigned n = anyNumber(m.size());
            describe(n);
            expectSame(l.insertAllAt(n, *other_), m.insertStretch(n, otherModel_, false));
        }},
        {"insertRangeAfter", [&] {
            drawCollection();
            Item* existing = anyElement();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(existing, from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.insertRangeAfter(existing, *other_, from, to),
                       valid && m.insertStretch(m.indexOf(existing), m.stretch(otherModel_, from, to), true));
        }},
        {"insertRangeAfterAt", [&] {
            drawCollection();
            const unsigned n = anyNumber(m.size());
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(n, from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.insertRangeAfterAt(n, *other_, from, to),
                       valid && m.insertStretch(n, m.stretch(otherModel_, from, to), true));
        }},
        {"insertAllAfter", [&] {
            drawCollection();
            Item* existing = anyElement();
            describe(existing);
            const unsigned n = m.indexOf(existing);
            expectSame(l.insertAllAfter(existing, *other_), n != 0 && m.insertStretch(n, otherModel_, true));
        }},
        {"insertAllAfterAt", [&] {
            drawCollection();
            const unsigned n = anyNumber(m.size());
            describe(n);
            expectSame(l.insertAllAfterAt(n, *other_), m.insertStretch(n, otherModel_, true));
        }},
        {"assignRange", [&] {
            drawCollection();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.assignRange(*other_, from, to), valid);
            m.elements = valid ? m.stretch(otherModel_, from, to) : Items{};
        }},
        {"assign", [&] {
            drawCollection();
            expectSame(l.assign(*other_), true);
            m.elements = otherModel_;
        }},
        {"assignReversed", [&] {
            drawCollection();
            l.assignReversed(*other_);
            m.elements.assign(otherModel_.rbegin(), otherModel_.rend());
        }},
        {"removeRangeOf", [&] {
            drawCollection();
            const unsigned from = bound(otherModel_.size()), to = bound(otherModel_.size());
            describe(from, to);
            const bool valid = from != 0 && to != 0;
            expectSame(l.removeRangeOf(*other_, from, to),
                       valid && m.removeEach(m.stretch(otherModel_, from, to)));
        }},
        {"removeAllOf", [&] {
            drawCollection();
            expectSame(l.removeAllOf(*other_), m.removeEach(otherModel_));
        }},
    };
}

TEST(LinkListModelTest, RandomOperationsMatchAVectorModel) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        ModelRun run(seed);
        const std::string failure = run.run(600);
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
}

}  // namespace
}  // namespace RUZ
