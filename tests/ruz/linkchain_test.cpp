#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
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

std::string names(const LinkList<Item>& list) {
    std::string text;
    const std::unique_ptr<Iterator<Item>> walk(list.newIterator());
    while (walk->hasMore()) text += walk->next()->name;
    return text;
}

void fill(LinkList<Item>& list, const std::vector<Item*>& elements) {
    for (Item* element : elements) list.append(element);
}

// While it lives, node allocation goes through `allocate`, which hands each
// request to the allocator it replaced.
class NodeAllocatorSwap {
public:
    explicit NodeAllocatorSwap(LinkChain::NodeAllocator allocate)
        : replaced_(LinkChain::replaceNodeAllocator(allocate)) {
        forward_ = replaced_;
    }
    ~NodeAllocatorSwap() { LinkChain::replaceNodeAllocator(replaced_); }
    NodeAllocatorSwap(const NodeAllocatorSwap&) = delete;
    NodeAllocatorSwap& operator=(const NodeAllocatorSwap&) = delete;

protected:
    static inline LinkChain::NodeAllocator forward_ = nullptr;

private:
    LinkChain::NodeAllocator replaced_;
};

// Lets `budget` more node allocations succeed; every later one fails.
class NodeAllocationBudget : NodeAllocatorSwap {
public:
    explicit NodeAllocationBudget(int budget) : NodeAllocatorSwap(&allocate) { remaining_ = budget; }

private:
    static void* allocate(std::size_t size) {
        if (remaining_ == 0) throw std::bad_alloc();
        --remaining_;
        return forward_(size);
    }
    static inline int remaining_ = 0;
};

class LinkListAllocationTest : public ::testing::Test {
protected:
    Item a{'a'}, b{'b'}, c{'c'}, d{'d'}, e{'e'}, x{'x'};
};

TEST_F(LinkListAllocationTest, AFailedSingleInsertionLeavesTheListAsItWas) {
    struct Case {
        const char* what;
        std::function<void(LinkList<Item>&)> insert;
    };
    const Case cases[] = {
        {"prepend", [this](LinkList<Item>& l) { l.prepend(&x); }},
        {"append", [this](LinkList<Item>& l) { l.append(&x); }},
        {"add", [this](LinkList<Item>& l) { l.add(&x); }},
        {"insertBefore", [this](LinkList<Item>& l) { l.insertBefore(&a, &x); }},
        {"insertAt", [this](LinkList<Item>& l) { l.insertAt(2, &x); }},
        {"insertAfter", [this](LinkList<Item>& l) { l.insertAfter(&c, &x); }},
        {"insertAfterAt", [this](LinkList<Item>& l) { l.insertAfterAt(1, &x); }},
    };
    for (const Case& test : cases) {
        LinkList<Item> list;
        fill(list, {&a, &b, &c});
        const std::unique_ptr<Iterator<Item>> atEnd(list.newIterator());
        atEnd->last();
        atEnd->next();
        {
            NodeAllocationBudget none(0);
            EXPECT_THROW(test.insert(list), std::bad_alloc) << test.what;
        }
        EXPECT_EQ(atEnd->current(), nullptr) << test.what << ": the end node holds no element";
        EXPECT_EQ(names(list), "abc") << test.what;
        EXPECT_EQ(list.last(), &c) << test.what;
        EXPECT_FALSE(list.contains(&x)) << test.what;
        EXPECT_FALSE(atEnd->hasMore()) << test.what;
        list.append(&d);
        EXPECT_EQ(atEnd->current(), &d) << test.what;
        EXPECT_EQ(names(list), "abcd") << test.what;
    }
}

TEST_F(LinkListAllocationTest, AFailedBulkOperationKeepsWhatItPlacedBefore) {
    struct Case {
        const char* what;
        std::function<void(LinkList<Item>&, const LinkList<Item>&)> place;
        const char* after;
    };
    const Case cases[] = {
        {"appendAll", [](LinkList<Item>& l, const LinkList<Item>& o) { l.appendAll(o); }, "abcde"},
        {"prependAll", [](LinkList<Item>& l, const LinkList<Item>& o) { l.prependAll(o); }, "deabc"},
        {"insertRangeAt", [](LinkList<Item>& l, const LinkList<Item>& o) { l.insertRangeAt(2, o, 1, 3); }, "adebc"},
        {"insertAllAfterAt", [](LinkList<Item>& l, const LinkList<Item>& o) { l.insertAllAfterAt(3, o); }, "abcde"},
        {"assign", [](LinkList<Item>& l, const LinkList<Item>& o) { l.assign(o); }, "de"},
        {"assignReversed", [](LinkList<Item>& l, const LinkList<Item>& o) { l.assignReversed(o); }, "ed"},
    };
    LinkList<Item> dex;
    fill(dex, {&d, &e, &x});
    for (const Case& test : cases) {
        LinkList<Item> list;
        fill(list, {&a, &b, &c});
        {
            NodeAllocationBudget two(2);
            EXPECT_THROW(test.place(list, dex), std::bad_alloc) << test.what;
        }
        EXPECT_EQ(names(list), test.after) << test.what;
    }
}

TEST_F(LinkListAllocationTest, ANewListThrowsWhenItsEndNodeCannotBeAllocated) {
    NodeAllocationBudget none(0);
    EXPECT_THROW(LinkList<Item>{}, std::bad_alloc);
}

// Removals, searches and in-place changes allocate nothing, so they work
// while every allocation fails.
TEST_F(LinkListAllocationTest, OnlyInsertionsAllocate) {
    LinkList<Item> list;
    fill(list, {&a, &b, &c, &d, &e, &a, &b});
    LinkList<Item> ea;
    fill(ea, {&e, &a});
    NodeAllocationBudget none(0);
    EXPECT_EQ(list.indexOf(&c), 3u);
    EXPECT_TRUE(list.swap(&a, &b));
    EXPECT_TRUE(list.remove(&c));
    EXPECT_TRUE(list.removeRange(&d, &d));
    EXPECT_EQ(list.removeLast(), &b);
    EXPECT_EQ(list.removeFirst(), &b);
    EXPECT_TRUE(list.removeAllOf(ea));
    EXPECT_EQ(names(list), "a");
}

// Where the chain asked for its latest node: the return address of the call
// into the node allocator.
class AllocationCallSite : NodeAllocatorSwap {
public:
    AllocationCallSite() : NodeAllocatorSwap(&allocate) {}
    static const void* latest() { return caller_; }

private:
    static void* allocate(std::size_t size) {
        caller_ = __builtin_return_address(0);
        return forward_(size);
    }
    static inline const void* caller_ = nullptr;
};

struct Other {
    double value;
};

// The chain is one plain class compiled once in the library: lists of
// unrelated element types ask for their nodes from the very same machine
// code. Chain code instantiated per element type would call from a different
// place for each type.
TEST(LinkListSharedChainTest, EveryElementTypeRunsTheSameChainCode) {
    Item item{'i'};
    Other other{1.5};
    std::string text = "t";
    LinkList<Item> items;
    LinkList<Other> others;
    LinkList<const std::string> texts;

    const AllocationCallSite site;
    items.append(&item);
    const void* fromItems = site.latest();
    others.append(&other);
    const void* fromOthers = site.latest();
    texts.append(&text);
    const void* fromTexts = site.latest();
    EXPECT_NE(fromItems, nullptr);
    EXPECT_EQ(fromItems, fromOthers);
    EXPECT_EQ(fromItems, fromTexts);

    items.insertAt(1, &item);
    const void* insertFromItems = site.latest();
    texts.insertAt(1, &text);
    EXPECT_EQ(site.latest(), insertFromItems);
}

// The per-type classes add nothing to the chain but their virtual table.
static_assert(sizeof(LinkList<Item>) == sizeof(LinkList<std::string>));
static_assert(sizeof(LinkList<Item>) == sizeof(void*) + sizeof(LinkChain));
static_assert(sizeof(LinkIterator<Item>) == sizeof(LinkIterator<Other>));
static_assert(sizeof(LinkNode) == 2 * sizeof(void*));

}  // namespace
}  // namespace RUZ
