#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ruz/base/linklist.h"

namespace RUZ {
namespace {

struct Item {
    char name;
};

using Items = std::vector<Item*>;

constexpr unsigned noNumber = std::numeric_limits<unsigned>::max();

// The elements in list order, read with a forward walk.
template <class T>
std::vector<T*> contentsOf(const Collection<T>& list) {
    std::vector<T*> elements;
    const std::unique_ptr<Iterator<T>> walk(list.newIterator());
    while (walk->hasMore()) elements.push_back(walk->next());
    return elements;
}

template <class T>
void fill(LinkList<T>& list, const std::vector<T*>& elements) {
    for (T* element : elements) list.append(element);
}

std::string namesOf(const Items& items) {
    std::string names;
    for (const Item* item : items) names += item == nullptr ? '0' : item->name;
    return names;
}

class LinkListTest : public ::testing::Test {
protected:
    LinkListTest() { fill(abcb, {&a, &b, &c, &b}); }

    // Names of the elements of `list`, '0' for a null element.
    static std::string names(const LinkList<Item>& list) { return namesOf(contentsOf(list)); }

    Item a{'a'}, b{'b'}, c{'c'}, d{'d'}, x{'x'};
    LinkList<Item> abcb;
};

TEST_F(LinkListTest, NewListHasNoElements) {
    LinkList<Item> list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.removeFirst(), nullptr);
    EXPECT_EQ(list.removeLast(), nullptr);
    EXPECT_EQ(list.at(0), nullptr);
    EXPECT_EQ(list.get(1), nullptr);
    const std::unique_ptr<Iterator<Item>> walk(list.newIterator());
    EXPECT_FALSE(walk->hasMore());
    EXPECT_TRUE(walk->atEnd());
    EXPECT_EQ(walk->position(), 0u);
    EXPECT_EQ(walk->current(), nullptr);
}

TEST_F(LinkListTest, LookupsOnThreeAppendedElements) {
    LinkList<Item> list;
    EXPECT_NE(list.append(&a), nullptr);
    EXPECT_TRUE(list.add(&b));
    list.append(&c);
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.get(1), &a);
    EXPECT_EQ(list.at(1), &b);
    EXPECT_EQ(list.get(0), nullptr);
    EXPECT_EQ(list.indexOf(&c), 3u);
    EXPECT_EQ(list.before(&a), nullptr);
    EXPECT_EQ(list.before(&c), &b);
    EXPECT_EQ(list.after(&c), nullptr);
    EXPECT_FALSE(list.insertAt(4, &d));
    EXPECT_TRUE(list.insertAfterAt(3, &d));
    EXPECT_EQ(names(list), "abcd");
    EXPECT_EQ(list.last(), &d);
}

// On a, b, c, b; x is not in the list.
TEST_F(LinkListTest, LookupsAnswerTheFirstOccurrenceOrNothing) {
    struct Case {
        const char* what;
        std::function<Item*(LinkList<Item>&)> lookup;
        Item* expected;
    };
    const Case cases[] = {
        {"at(0)", [](LinkList<Item>& l) { return l.at(0); }, &a},
        {"at(3)", [](LinkList<Item>& l) { return l.at(3); }, &b},
        {"at(4)", [](LinkList<Item>& l) { return l.at(4); }, nullptr},
        {"at(max)", [](LinkList<Item>& l) { return l.at(noNumber); }, nullptr},
        {"get(4)", [](LinkList<Item>& l) { return l.get(4); }, &b},
        {"get(5)", [](LinkList<Item>& l) { return l.get(5); }, nullptr},
        {"get(max)", [](LinkList<Item>& l) { return l.get(noNumber); }, nullptr},
        {"before(b)", [this](LinkList<Item>& l) { return l.before(&b); }, &a},
        {"before(c)", [this](LinkList<Item>& l) { return l.before(&c); }, &b},
        {"before(x)", [this](LinkList<Item>& l) { return l.before(&x); }, nullptr},
        {"after(b)", [this](LinkList<Item>& l) { return l.after(&b); }, &c},
        {"after(c)", [this](LinkList<Item>& l) { return l.after(&c); }, &b},
        {"after(x)", [this](LinkList<Item>& l) { return l.after(&x); }, nullptr},
        {"first()", [](LinkList<Item>& l) { return l.first(); }, &a},
        {"last()", [](LinkList<Item>& l) { return l.last(); }, &b},
    };
    for (const Case& test : cases) EXPECT_EQ(test.lookup(abcb), test.expected) << test.what;
    EXPECT_EQ(abcb.indexOf(&b), 2u);
    EXPECT_EQ(abcb.indexOf(&x), 0u);
    EXPECT_TRUE(abcb.contains(&c));
    EXPECT_FALSE(abcb.contains(&x));
    EXPECT_EQ(names(abcb), "abcb");
}

// Each change starts from a, b, c, b; x is not in the list. A false result
// must leave the list unchanged.
TEST_F(LinkListTest, SingleElementChanges) {
    struct Case {
        const char* what;
        std::function<bool(LinkList<Item>&)> change;
        bool result;
        const char* after;
    };
    const Case cases[] = {
        {"remove(b)", [this](LinkList<Item>& l) { return l.remove(&b); }, true, "acb"},
        {"remove(a)", [this](LinkList<Item>& l) { return l.remove(&a); }, true, "bcb"},
        {"remove(x)", [this](LinkList<Item>& l) { return l.remove(&x); }, false, "abcb"},
        {"insertBefore(a, x)", [this](LinkList<Item>& l) { return l.insertBefore(&a, &x); }, true, "xabcb"},
        {"insertBefore(b, x)", [this](LinkList<Item>& l) { return l.insertBefore(&b, &x); }, true, "axbcb"},
        {"insertBefore(x, x)", [this](LinkList<Item>& l) { return l.insertBefore(&x, &x); }, false, "abcb"},
        {"insertAt(1, x)", [this](LinkList<Item>& l) { return l.insertAt(1, &x); }, true, "xabcb"},
        {"insertAt(4, x)", [this](LinkList<Item>& l) { return l.insertAt(4, &x); }, true, "abcxb"},
        {"insertAt(0, x)", [this](LinkList<Item>& l) { return l.insertAt(0, &x); }, false, "abcb"},
        {"insertAt(5, x)", [this](LinkList<Item>& l) { return l.insertAt(5, &x); }, false, "abcb"},
        {"insertAfter(b, x)", [this](LinkList<Item>& l) { return l.insertAfter(&b, &x); }, true, "abxcb"},
        {"insertAfter(x, a)", [this](LinkList<Item>& l) { return l.insertAfter(&x, &a); }, false, "abcb"},
        {"insertAfterAt(4, x)", [this](LinkList<Item>& l) { return l.insertAfterAt(4, &x); }, true, "abcbx"},
        {"insertAfterAt(0, x)", [this](LinkList<Item>& l) { return l.insertAfterAt(0, &x); }, false, "abcb"},
        {"insertAfterAt(5, x)", [this](LinkList<Item>& l) { return l.insertAfterAt(5, &x); }, false, "abcb"},
        {"removeAt(1)", [](LinkList<Item>& l) { return l.removeAt(1); }, true, "bcb"},
        {"removeAt(4)", [](LinkList<Item>& l) { return l.removeAt(4); }, true, "abc"},
        {"removeAt(0)", [](LinkList<Item>& l) { return l.removeAt(0); }, false, "abcb"},
        {"removeAt(5)", [](LinkList<Item>& l) { return l.removeAt(5); }, false, "abcb"},
        {"replace(b, x)", [this](LinkList<Item>& l) { return l.replace(&b, &x); }, true, "axcb"},
        {"replace(x, a)", [this](LinkList<Item>& l) { return l.replace(&x, &a); }, false, "abcb"},
        {"setAt(4, x)", [this](LinkList<Item>& l) { return l.setAt(4, &x); }, true, "abcx"},
        {"setAt(5, x)", [this](LinkList<Item>& l) { return l.setAt(5, &x); }, false, "abcb"},
        {"swapAt(3, 1)", [](LinkList<Item>& l) { return l.swapAt(3, 1); }, true, "cbab"},
        {"swapAt(2, 2)", [](LinkList<Item>& l) { return l.swapAt(2, 2); }, true, "abcb"},
        {"swapAt(1, 5)", [](LinkList<Item>& l) { return l.swapAt(1, 5); }, false, "abcb"},
        {"swapAt(0, 1)", [](LinkList<Item>& l) { return l.swapAt(0, 1); }, false, "abcb"},
        {"swap(c, b)", [this](LinkList<Item>& l) { return l.swap(&c, &b); }, true, "acbb"},
        {"swap(a, x)", [this](LinkList<Item>& l) { return l.swap(&a, &x); }, false, "abcb"},
        {"swap(x, a)", [this](LinkList<Item>& l) { return l.swap(&x, &a); }, false, "abcb"},
        {"removeBefore(c)", [this](LinkList<Item>& l) { return l.removeBefore(&c); }, true, "cb"},
        {"removeBefore(a)", [this](LinkList<Item>& l) { return l.removeBefore(&a); }, true, "abcb"},
        {"removeBefore(x)", [this](LinkList<Item>& l) { return l.removeBefore(&x); }, false, "abcb"},
        {"removeBeforeAt(4)", [](LinkList<Item>& l) { return l.removeBeforeAt(4); }, true, "b"},
        {"removeBeforeAt(0)", [](LinkList<Item>& l) { return l.removeBeforeAt(0); }, false, "abcb"},
        {"removeBeforeAt(5)", [](LinkList<Item>& l) { return l.removeBeforeAt(5); }, false, "abcb"},
        {"removeAfter(b)", [this](LinkList<Item>& l) { return l.removeAfter(&b); }, true, "ab"},
        {"removeAfter(x)", [this](LinkList<Item>& l) { return l.removeAfter(&x); }, false, "abcb"},
        {"removeAfterAt(1)", [](LinkList<Item>& l) { return l.removeAfterAt(1); }, true, "a"},
        {"removeAfterAt(4)", [](LinkList<Item>& l) { return l.removeAfterAt(4); }, true, "abcb"},
        {"removeAfterAt(5)", [](LinkList<Item>& l) { return l.removeAfterAt(5); }, false, "abcb"},
        {"removeRange(c, a)", [this](LinkList<Item>& l) { return l.removeRange(&c, &a); }, true, "b"},
        {"removeRange(b, c)", [this](LinkList<Item>& l) { return l.removeRange(&b, &c); }, true, "ab"},
        {"removeRange(b, b)", [this](LinkList<Item>& l) { return l.removeRange(&b, &b); }, true, "acb"},
        {"removeRange(a, b)", [this](LinkList<Item>& l) { return l.removeRange(&a, &b); }, true, "cb"},
        {"removeRange(a, x)", [this](LinkList<Item>& l) { return l.removeRange(&a, &x); }, false, "abcb"},
        {"removeRange(x, a)", [this](LinkList<Item>& l) { return l.removeRange(&x, &a); }, false, "abcb"},
        {"removeRangeAt(4, 2)", [](LinkList<Item>& l) { return l.removeRangeAt(4, 2); }, true, "a"},
        {"removeRangeAt(1, 4)", [](LinkList<Item>& l) { return l.removeRangeAt(1, 4); }, true, ""},
        {"removeRangeAt(3, 3)", [](LinkList<Item>& l) { return l.removeRangeAt(3, 3); }, true, "abb"},
        {"removeRangeAt(0, 2)", [](LinkList<Item>& l) { return l.removeRangeAt(0, 2); }, false, "abcb"},
        {"removeRangeAt(2, 5)", [](LinkList<Item>& l) { return l.removeRangeAt(2, 5); }, false, "abcb"},
    };
    for (const Case& test : cases) {
        LinkList<Item> list;
        fill(list, {&a, &b, &c, &b});
        EXPECT_EQ(test.change(list), test.result) << test.what;
        EXPECT_EQ(names(list), test.after) << test.what;
        EXPECT_EQ(list.count(), std::string(test.after).size()) << test.what;
        EXPECT_EQ(list.last(), list.get(list.count())) << test.what;
    }
}

TEST_F(LinkListTest, RangeRemovalsInEitherOrderOnFourElements) {
    LinkList<Item> byNumbers;
    fill(byNumbers, {&a, &b, &c, &d});
    EXPECT_TRUE(byNumbers.removeRangeAt(3, 1));
    EXPECT_EQ(names(byNumbers), "d");

    LinkList<Item> byElements;
    fill(byElements, {&a, &b, &c, &d});
    EXPECT_TRUE(byElements.removeRange(&c, &a));
    EXPECT_EQ(names(byElements), "d");

    LinkList<Item> withAbsent;
    fill(withAbsent, {&a, &b, &c, &d});
    EXPECT_FALSE(withAbsent.removeRange(&a, &x));
    EXPECT_EQ(names(withAbsent), "abcd");
}

TEST_F(LinkListTest, EndRemovals) {
    LinkList<Item> one;
    one.append(&a);
    EXPECT_EQ(one.removeLast(), &a);
    EXPECT_TRUE(one.isEmpty());
    EXPECT_EQ(one.last(), nullptr);

    LinkList<Item> three;
    fill(three, {&a, &b, &c});
    EXPECT_TRUE(three.remove(&c));
    EXPECT_EQ(three.last(), &b);
    EXPECT_EQ(three.removeFirst(), &a);
    EXPECT_EQ(three.removeLast(), &b);
    EXPECT_TRUE(three.isEmpty());
    three.append(&d);
    EXPECT_EQ(names(three), "d");
}

TEST_F(LinkListTest, PrependAndClear) {
    EXPECT_NE(abcb.prepend(&x), nullptr);
    EXPECT_EQ(names(abcb), "xabcb");
    abcb.clear();
    EXPECT_TRUE(abcb.isEmpty());
    EXPECT_EQ(abcb.count(), 0u);
    abcb.prepend(&a);
    abcb.append(&b);
    EXPECT_EQ(names(abcb), "ab");
}

// A stored null is found like any element; a list without one answers as if
// absent, because every search takes its planted value back.
TEST_F(LinkListTest, NullElementsAreStoredAndFound) {
    LinkList<Item> list;
    fill(list, {&a, nullptr, &b});
    EXPECT_EQ(names(list), "a0b");
    EXPECT_TRUE(list.contains(nullptr));
    EXPECT_EQ(list.indexOf(nullptr), 2u);
    EXPECT_EQ(list.after(nullptr), &b);
    EXPECT_TRUE(list.remove(nullptr));
    EXPECT_FALSE(list.contains(nullptr));
    EXPECT_EQ(list.indexOf(nullptr), 0u);
    EXPECT_FALSE(list.removeRange(&a, nullptr));
    EXPECT_EQ(names(list), "ab");
}

TEST_F(LinkListTest, SearchesLeaveNoTraceInTheEndNode) {
    LinkList<Item> empty;
    EXPECT_EQ(empty.before(&x), nullptr);
    const std::unique_ptr<Iterator<Item>> walk(empty.newIterator());
    EXPECT_EQ(walk->first(), nullptr);
    EXPECT_EQ(walk->last(), nullptr);

    EXPECT_EQ(abcb.indexOf(&x), 0u);
    EXPECT_FALSE(abcb.contains(&d));
    EXPECT_FALSE(abcb.removeRange(&a, &x));
    EXPECT_FALSE(abcb.swap(&a, &d));
    EXPECT_EQ(abcb.at(4), nullptr);
    const std::unique_ptr<Iterator<Item>> atEnd(abcb.newIterator());
    while (atEnd->hasMore()) atEnd->next();
    EXPECT_EQ(atEnd->current(), nullptr);
    EXPECT_EQ(atEnd->next(), nullptr);
}

// Programs may hold a list through any of its interfaces, the way the text
// reader reads its alternatives through List<T>, and delete it through them.
TEST_F(LinkListTest, UsableAndDeletableThroughItsInterfaces) {
    std::unique_ptr<Collection<Item>> owned(new LinkList<Item>);
    XList<Item>& list = static_cast<LinkList<Item>&>(*owned);
    EXPECT_TRUE(owned->add(&a));
    list.append(&b);
    const List<Item>& readOnly = list;
    EXPECT_EQ(readOnly.count(), 2u);
    EXPECT_EQ(readOnly.at(1), &b);
    EXPECT_TRUE(list.appendAll(abcb));
    EXPECT_EQ(namesOf(contentsOf(*owned)), "ababcb");
}

TEST_F(LinkListTest, ListsOfConstElements) {
    const Item fixed{'f'};
    LinkList<const Item> list;
    list.append(&fixed);
    EXPECT_EQ(list.first(), &fixed);
    EXPECT_EQ(list.indexOf(&fixed), 1u);
    EXPECT_TRUE(list.remove(&fixed));
}

class LinkListIteratorTest : public LinkListTest {
protected:
    std::unique_ptr<Iterator<Item>> iteratorOn(unsigned number) {
        std::unique_ptr<Iterator<Item>> walk(abcb.newIterator());
        for (unsigned n = 1; n < number; ++n) walk->next();
        return walk;
    }
    std::unique_ptr<Iterator<Item>> iteratorAtEnd() { return iteratorOn(abcb.count() + 1); }
};

TEST_F(LinkListIteratorTest, ForwardWalkCountsPositions) {
    const std::unique_ptr<Iterator<Item>> walk(abcb.newIterator());
    std::vector<unsigned> positions;
    std::string seen;
    while (walk->hasMore()) {
        positions.push_back(walk->position());
        seen += walk->next()->name;
    }
    EXPECT_EQ(seen, "abcb");
    EXPECT_EQ(positions, (std::vector<unsigned>{1, 2, 3, 4}));
    EXPECT_EQ(walk->position(), 4u);  // at the end: the number of elements
    EXPECT_EQ(walk->next(), nullptr);
    EXPECT_EQ(walk->previous(), nullptr);
    EXPECT_FALSE(walk->hasMore());
}

TEST_F(LinkListIteratorTest, BackwardWalkEndsAtTheEnd) {
    LinkList<Item> list;
    fill(list, {&a, &b, &c});
    const std::unique_ptr<Iterator<Item>> walk(list.newIterator());
    EXPECT_EQ(walk->last(), &c);
    EXPECT_EQ(walk->position(), 3u);
    std::string seen;
    while (walk->hasMore()) seen += walk->previous()->name;
    EXPECT_EQ(seen, "cba");
    EXPECT_TRUE(walk->atEnd());
    EXPECT_EQ(walk->first(), &a);
    EXPECT_EQ(walk->position(), 1u);
}

TEST_F(LinkListIteratorTest, AtTheEndItStandsOnTheNextAppendedElement) {
    const auto walk = iteratorAtEnd();
    ASSERT_FALSE(walk->hasMore());
    abcb.append(&x);
    EXPECT_TRUE(walk->hasMore());
    EXPECT_EQ(walk->current(), &x);

    const auto bulk = iteratorAtEnd();
    LinkList<Item> other;
    fill(other, {&c, &d});
    abcb.appendAll(other);
    EXPECT_EQ(bulk->next(), &c);
    EXPECT_EQ(bulk->next(), &d);
    EXPECT_FALSE(bulk->hasMore());
}

TEST_F(LinkListIteratorTest, InsertionsKeepEveryIterator) {
    const auto onC = iteratorOn(3);
    const auto atEnd = iteratorAtEnd();
    abcb.prepend(&x);
    abcb.insertBefore(&c, &d);
    abcb.insertAt(1, &d);
    abcb.insertAfter(&c, &x);
    abcb.insertAfterAt(8, &d);
    EXPECT_EQ(names(abcb), "dxabdcxbd");
    EXPECT_EQ(onC->current(), &c);
    EXPECT_EQ(onC->position(), 6u);
    EXPECT_FALSE(atEnd->hasMore());
}

TEST_F(LinkListIteratorTest, OnARemovedElementItSeesTheFollowingOne) {
    const auto onB = iteratorOn(2);
    EXPECT_TRUE(abcb.remove(&b));
    EXPECT_EQ(onB->current(), &c);

    EXPECT_TRUE(abcb.removeAt(2));
    EXPECT_EQ(onB->current(), &b);

    // Removing the last element turns its node into the end node.
    EXPECT_TRUE(abcb.removeAt(2));
    EXPECT_FALSE(onB->hasMore());
    abcb.append(&d);
    EXPECT_EQ(onB->current(), &d);
}

TEST_F(LinkListIteratorTest, OnTheStartOfARemovedStretchItSeesWhatFollowedIt) {
    const auto onB = iteratorOn(2);
    EXPECT_TRUE(abcb.removeRange(&c, &b));
    EXPECT_EQ(onB->current(), &b);
    EXPECT_EQ(names(abcb), "ab");

    fill(abcb, {&c, &d});
    EXPECT_TRUE(abcb.removeRangeAt(3, 2));
    EXPECT_EQ(onB->current(), &d);
    EXPECT_EQ(names(abcb), "ad");
}

TEST_F(LinkListIteratorTest, OnTheLastElementRemoveLastLeavesItAtTheEnd) {
    const auto onLast = iteratorOn(4);
    EXPECT_EQ(abcb.removeLast(), &b);
    EXPECT_FALSE(onLast->hasMore());
    EXPECT_EQ(onLast->position(), 3u);
}

TEST_F(LinkListIteratorTest, DroppingElementsKeepsIteratorsElsewhere) {
    struct Case {
        const char* what;
        std::function<void(LinkList<Item>&)> drop;
        unsigned kept;  // number of an element that survives
    };
    const Case cases[] = {
        {"removeFirst", [](LinkList<Item>& l) { l.removeFirst(); }, 2},
        {"removeBefore(c)", [this](LinkList<Item>& l) { l.removeBefore(&c); }, 3},
        {"removeBeforeAt(2)", [](LinkList<Item>& l) { l.removeBeforeAt(2); }, 4},
        {"removeAfter(a)", [this](LinkList<Item>& l) { l.removeAfter(&a); }, 1},
        {"removeAfterAt(2)", [](LinkList<Item>& l) { l.removeAfterAt(2); }, 2},
        {"clear", [](LinkList<Item>& l) { l.clear(); }, 0},
    };
    for (const Case& test : cases) {
        abcb.clear();
        fill(abcb, {&a, &b, &c, &b});
        const auto atEnd = iteratorAtEnd();
        const auto onKept = iteratorOn(test.kept);
        Item* keptElement = abcb.get(test.kept);
        test.drop(abcb);
        if (test.kept != 0) {
            EXPECT_EQ(onKept->current(), keptElement) << test.what;
        }
        EXPECT_FALSE(atEnd->hasMore()) << test.what;
        abcb.append(&x);
        EXPECT_EQ(atEnd->current(), &x) << test.what;
    }
}

TEST_F(LinkListIteratorTest, InPlaceChangesAreSeenByIterators) {
    const auto onA = iteratorOn(1);
    const auto onC = iteratorOn(3);
    abcb.replace(&a, &x);
    EXPECT_EQ(onA->current(), &x);
    abcb.setAt(3, &d);
    EXPECT_EQ(onC->current(), &d);
    abcb.swap(&x, &d);
    EXPECT_EQ(onA->current(), &d);
    EXPECT_EQ(onC->current(), &x);
    abcb.swapAt(1, 3);
    EXPECT_EQ(onA->current(), &x);
    EXPECT_EQ(onC->current(), &d);
}

class LinkListBulkTest : public LinkListTest {
protected:
    LinkListBulkTest() { fill(abcde, {&a, &b, &c, &d, &e}); }

    Item e{'e'};
    LinkList<Item> abcde;
};

TEST_F(LinkListBulkTest, AppendingStretches) {
    LinkList<Item> list;
    EXPECT_TRUE(list.appendRange(abcde, 5, 2));
    EXPECT_EQ(names(list), "bcde");
    EXPECT_FALSE(list.appendRange(abcde, 0, 3));
    EXPECT_FALSE(list.addRange(abcde, 3, 0));
    EXPECT_EQ(names(list), "bcde");

    LinkList<Item> three;
    fill(three, {&a, &b, &c});
    LinkList<Item> pastTheEnd;
    EXPECT_TRUE(pastTheEnd.appendRange(three, 2, 9));
    EXPECT_EQ(names(pastTheEnd), "bc");
    EXPECT_TRUE(pastTheEnd.addRange(three, 7, 9));
    EXPECT_TRUE(pastTheEnd.addAll(three));
    EXPECT_TRUE(pastTheEnd.appendAll(three));
    EXPECT_EQ(names(pastTheEnd), "bcabcabc");
}

TEST_F(LinkListBulkTest, AssigningReplacesTheContents) {
    LinkList<Item> list;
    fill(list, {&x});
    EXPECT_FALSE(list.assignRange(abcde, 0, 3));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(list.assignRange(abcde, 4, 3));
    EXPECT_EQ(names(list), "cd");
    EXPECT_TRUE(list.assign(abcb));
    EXPECT_EQ(names(list), "abcb");
    LinkList<Item> three;
    fill(three, {&a, &b, &c});
    list.assignReversed(three);
    EXPECT_EQ(names(list), "cba");
}

TEST_F(LinkListBulkTest, PrependingKeepsTheCollectionsOrder) {
    LinkList<Item> list;
    fill(list, {&x});
    LinkList<Item> ab;
    fill(ab, {&a, &b});
    EXPECT_TRUE(list.prependAll(ab));
    EXPECT_EQ(names(list), "abx");
    EXPECT_TRUE(list.prependRange(abcde, 3, 5));
    EXPECT_EQ(names(list), "cdeabx");
    EXPECT_FALSE(list.prependRange(abcde, 0, 5));
    EXPECT_EQ(names(list), "cdeabx");

    // Duplicates of elements already present do not disturb the order.
    LinkList<Item> withDuplicates;
    fill(withDuplicates, {&x, &a, &x, &b});
    EXPECT_TRUE(list.prependAll(withDuplicates));
    EXPECT_EQ(names(list), "xaxbcdeabx");
}

// Each insertion starts from a, b, c, b; the collection is d, e, x. Null is
// not in the list.
TEST_F(LinkListBulkTest, InsertingStretches) {
    using List = LinkList<Item>;
    struct Case {
        const char* what;
        std::function<bool(List&, const List&)> insert;
        bool result;
        const char* after;
    };
    const Case cases[] = {
        {"insertRangeAt(2, 3..1)", [](List& l, const List& o) { return l.insertRangeAt(2, o, 3, 1); }, true, "adexbcb"},
        {"insertRangeAt(4, 2..2)", [](List& l, const List& o) { return l.insertRangeAt(4, o, 2, 2); }, true, "abceb"},
        {"insertRangeAt(5, 1..2)", [](List& l, const List& o) { return l.insertRangeAt(5, o, 1, 2); }, false, "abcb"},
        {"insertRangeAt(0, 1..2)", [](List& l, const List& o) { return l.insertRangeAt(0, o, 1, 2); }, false, "abcb"},
        {"insertRangeAt(1, 0..2)", [](List& l, const List& o) { return l.insertRangeAt(1, o, 0, 2); }, false, "abcb"},
        {"insertRangeAt(0, 5..9)", [](List& l, const List& o) { return l.insertRangeAt(0, o, 5, 9); }, true, "abcb"},
        {"insertAllAt(1)", [](List& l, const List& o) { return l.insertAllAt(1, o); }, true, "dexabcb"},
        {"insertRangeBefore(b, 2..3)", [this](List& l, const List& o) { return l.insertRangeBefore(&b, o, 2, 3); }, true, "aexbcb"},
        {"insertRangeBefore(null, 2..3)", [](List& l, const List& o) { return l.insertRangeBefore(nullptr, o, 2, 3); }, false, "abcb"},
        {"insertAllBefore(c)", [this](List& l, const List& o) { return l.insertAllBefore(&c, o); }, true, "abdexcb"},
        {"insertAllBefore(null)", [](List& l, const List& o) { return l.insertAllBefore(nullptr, o); }, false, "abcb"},
        {"insertRangeAfterAt(4, 1..2)", [](List& l, const List& o) { return l.insertRangeAfterAt(4, o, 1, 2); }, true, "abcbde"},
        {"insertRangeAfterAt(5, 1..2)", [](List& l, const List& o) { return l.insertRangeAfterAt(5, o, 1, 2); }, false, "abcb"},
        {"insertAllAfterAt(2)", [](List& l, const List& o) { return l.insertAllAfterAt(2, o); }, true, "abdexcb"},
        {"insertRangeAfter(b, 3..3)", [this](List& l, const List& o) { return l.insertRangeAfter(&b, o, 3, 3); }, true, "abxcb"},
        {"insertAllAfter(b)", [this](List& l, const List& o) { return l.insertAllAfter(&b, o); }, true, "abdexcb"},
        {"insertAllAfter(null)", [](List& l, const List& o) { return l.insertAllAfter(nullptr, o); }, false, "abcb"},
    };
    LinkList<Item> dex;
    fill(dex, {&d, &e, &x});
    for (const Case& test : cases) {
        LinkList<Item> list;
        fill(list, {&a, &b, &c, &b});
        EXPECT_EQ(test.insert(list, dex), test.result) << test.what;
        EXPECT_EQ(names(list), test.after) << test.what;
    }
}

TEST_F(LinkListBulkTest, InsertingAllOfAnEmptyCollectionSucceedsAnywhere) {
    LinkList<Item> empty;
    EXPECT_TRUE(abcb.insertAllAt(9, empty));
    EXPECT_TRUE(abcb.insertAllAfterAt(0, empty));
    EXPECT_FALSE(abcb.insertAllBefore(&x, empty));
    EXPECT_EQ(names(abcb), "abcb");
}

TEST_F(LinkListBulkTest, RemovingStopsAtTheFirstAbsentElement) {
    LinkList<Item> withAbsent;
    fill(withAbsent, {&a, &x, &c});
    EXPECT_FALSE(abcde.removeAllOf(withAbsent));
    EXPECT_EQ(names(abcde), "bcde");

    LinkList<Item> bcd;
    fill(bcd, {&b, &c, &d});
    EXPECT_TRUE(abcb.removeRangeOf(bcd, 2, 1));
    EXPECT_EQ(names(abcb), "ab");
    EXPECT_FALSE(abcb.removeRangeOf(bcd, 2, 0));
    EXPECT_EQ(names(abcb), "ab");

    LinkList<Item> twice;
    fill(twice, {&b, &b});
    EXPECT_FALSE(abcb.removeAllOf(twice));
    EXPECT_EQ(names(abcb), "a");
}

// Forwards to an iterator of a list and counts its own deletion.
class CountedIterator : public Iterator<Item> {
public:
    CountedIterator(Iterator<Item>* inner, int& deleted) : inner_(inner), deleted_(deleted) {}
    ~CountedIterator() override { ++deleted_; }

    Item* current() const override { return inner_->current(); }
    Item* next() override { return inner_->next(); }
    Item* previous() override { return inner_->previous(); }
    Item* first() override { return inner_->first(); }
    Item* last() override { return inner_->last(); }
    bool hasMore() const override { return inner_->hasMore(); }
    unsigned position() const override { return inner_->position(); }

private:
    std::unique_ptr<Iterator<Item>> inner_;
    int& deleted_;
};

class IteratorCountingList : public LinkList<Item> {
public:
    Iterator<Item>* newIterator() const override {
        ++made;
        return new CountedIterator(LinkList<Item>::newIterator(), deleted);
    }

    mutable int made = 0;
    mutable int deleted = 0;
};

TEST_F(LinkListBulkTest, EveryBulkOperationDeletesTheOneIteratorItTakes) {
    IteratorCountingList source;
    fill<Item>(source, {&a, &b});
    abcb.appendAll(source);
    abcb.prependRange(source, 2, 1);
    abcb.insertAllAt(99, source);
    abcb.removeRangeOf(source, 1, 2);
    abcb.assignReversed(source);
    EXPECT_EQ(source.made, 5);
    EXPECT_EQ(source.deleted, 5);
    EXPECT_EQ(names(abcb), "ba");
}

// Bulk operations place elements through the list's own virtual operations.
TEST_F(LinkListBulkTest, BulkOperationsUseTheOverridableSingleOperations) {
    class AppendCounting : public LinkList<Item> {
    public:
        const void* append(Item* element) override {
            ++appends;
            return LinkList<Item>::append(element);
        }
        const void* prepend(Item* element) override {
            ++prepends;
            return LinkList<Item>::prepend(element);
        }
        int appends = 0;
        int prepends = 0;
    };
    AppendCounting list;
    list.appendAll(abcde);
    list.addRange(abcde, 1, 2);
    list.assign(abcb);
    EXPECT_EQ(list.appends, 5 + 2 + 4);
    EXPECT_EQ(names(list), "abcb");

    list.assignReversed(abcde);
    EXPECT_EQ(list.prepends, 5);
    list.prependRange(abcb, 1, 3);
    EXPECT_EQ(list.prepends, 5 + 1) << "only the first of a prepended stretch is prepended";
    EXPECT_EQ(names(list), "abcedcba");
}

// Operations defined as a call of another list operation make that call, so
// a derived list that overrides the other operation changes them too.
TEST_F(LinkListBulkTest, OperationsDefinedByAnotherCallIt) {
    class Recording : public LinkList<Item> {
    public:
        Item* at(unsigned index) const override {
            calls += "at(" + std::to_string(index) + ") ";
            return LinkList<Item>::at(index);
        }
        bool insertRangeAt(unsigned number, const Collection<Item>& c, unsigned from, unsigned to) override {
            calls += "insertRangeAt(" + std::to_string(number) + ") ";
            return LinkList<Item>::insertRangeAt(number, c, from, to);
        }
        bool insertAllAt(unsigned number, const Collection<Item>& c) override {
            calls += "insertAllAt(" + std::to_string(number) + ") ";
            return LinkList<Item>::insertAllAt(number, c);
        }
        bool insertRangeAfterAt(unsigned number, const Collection<Item>& c, unsigned from,
                                unsigned to) override {
            calls += "insertRangeAfterAt(" + std::to_string(number) + ") ";
            return LinkList<Item>::insertRangeAfterAt(number, c, from, to);
        }
        bool insertAllAfterAt(unsigned number, const Collection<Item>& c) override {
            calls += "insertAllAfterAt(" + std::to_string(number) + ") ";
            return LinkList<Item>::insertAllAfterAt(number, c);
        }
        bool appendRange(const Collection<Item>& c, unsigned from, unsigned to) override {
            calls += "appendRange ";
            return LinkList<Item>::appendRange(c, from, to);
        }
        bool appendAll(const Collection<Item>& c) override {
            calls += "appendAll ";
            return LinkList<Item>::appendAll(c);
        }
        mutable std::string calls;
    };
    using List = LinkList<Item>;
    struct Case {
        const char* what;
        std::function<bool(Recording&, const List&)> call;
        const char* calls;
        const char* after;
    };
    const Case cases[] = {
        {"get(2)", [](Recording& l, const List&) { return l.get(2) == l.at(1); }, "at(1) at(1) ", "abcb"},
        {"get(0)", [](Recording& l, const List&) { return l.get(0) == nullptr; }, "", "abcb"},
        {"insertRangeBefore(c)", [this](Recording& l, const List& o) { return l.insertRangeBefore(&c, o, 1, 1); },
         "insertRangeAt(3) ", "abdcb"},
        {"insertRangeBefore(x)", [this](Recording& l, const List& o) { return !l.insertRangeBefore(&x, o, 1, 1); },
         "insertRangeAt(0) ", "abcb"},
        {"insertAllBefore(b)", [this](Recording& l, const List& o) { return l.insertAllBefore(&b, o); },
         "insertAllAt(2) ", "adebcb"},
        {"insertAllBefore(x)", [this](Recording& l, const List& o) { return !l.insertAllBefore(&x, o); }, "",
         "abcb"},
        {"insertRangeAfter(a)", [this](Recording& l, const List& o) { return l.insertRangeAfter(&a, o, 2, 2); },
         "insertRangeAfterAt(1) ", "aebcb"},
        {"insertAllAfter(c)", [this](Recording& l, const List& o) { return l.insertAllAfter(&c, o); },
         "insertAllAfterAt(3) ", "abcdeb"},
        {"insertAllAfter(x)", [this](Recording& l, const List& o) { return !l.insertAllAfter(&x, o); }, "",
         "abcb"},
        {"assignRange", [](Recording& l, const List& o) { return l.assignRange(o, 2, 1); }, "appendRange ", "de"},
        {"assign", [](Recording& l, const List& o) { return l.assign(o); }, "appendAll ", "de"},
    };
    LinkList<Item> de;
    fill(de, {&d, &e});
    for (const Case& test : cases) {
        Recording list;
        fill<Item>(list, {&a, &b, &c, &b});
        EXPECT_TRUE(test.call(list, de)) << test.what;
        EXPECT_EQ(list.calls, test.calls) << test.what;
        EXPECT_EQ(names(list), test.after) << test.what;
    }
}

}  // namespace
}  // namespace RUZ
