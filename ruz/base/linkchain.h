#ifndef RUZ_BASE_LINKCHAIN_H
#define RUZ_BASE_LINKCHAIN_H

#include <cstddef>

#include "ruz/base/object.h"

namespace RUZ {

// One node of a linked list; the same layout for every element type.
struct LinkNode : Object {
    void* element;
    LinkNode* next;
};

// The machinery of every linked list, over untyped element pointers: it is a
// plain class compiled once in linkchain.cpp, so all element types share one
// implementation and LinkList<T> only converts pointers.
//
// The chain always ends in an end node whose `next` is itself and whose
// element is null. A search plants the sought pointer in the end node, so its
// walk needs no end test, and puts null back before returning. Appending
// fills the end node and links a fresh one after it. Removing a node makes it
// take over its successor's element and link, and frees the successor.
//
// Elements are compared by identity and never owned. Numbers count elements
// from 1; 0 and numbers past the last element name none. Nothing throws but
// node allocation, which throws std::bad_alloc and leaves the chain as it was.
// Searches write the end node, so even they must not overlap other uses.
class LinkChain : public Object {
public:
    // Where node memory comes from: room for `size` bytes, or an exception.
    // Nodes are freed with ::operator delete, so a replacement must hand out
    // memory that ::operator new (or the allocator it replaced) gave it.
    using NodeAllocator = void* (*)(std::size_t size);

    // Installs the allocator used for every node of every chain, by default
    // ::operator new, and returns the previous one.
    static NodeAllocator replaceNodeAllocator(NodeAllocator allocator);

    LinkChain();
    ~LinkChain();
    LinkChain(const LinkChain&) = delete;
    LinkChain& operator=(const LinkChain&) = delete;

    bool isEmpty() const;
    unsigned count() const;
    bool remove(void* element);
    void clear();
    bool contains(void* element);

    void* at(unsigned index) const;
    unsigned indexOf(void* element);
    void* before(void* element);
    void* after(void* element);
    void* first() const;
    void* last() const;
    // prepend and append answer the node now holding the element.
    const LinkNode* prepend(void* element);
    void* removeFirst();
    const LinkNode* append(void* element);
    void* removeLast();
    bool insertBefore(void* existing, void* element);
    bool insertAt(unsigned number, void* element);
    bool insertAfter(void* existing, void* element);
    bool insertAfterAt(unsigned number, void* element);
    bool removeAt(unsigned number);
    bool replace(void* old, void* element);
    bool setAt(unsigned number, void* element);
    bool swapAt(unsigned number1, unsigned number2);
    bool swap(void* element1, void* element2);
    bool removeBefore(void* element);
    bool removeBeforeAt(unsigned number);
    bool removeAfter(void* element);
    bool removeAfterAt(unsigned number);
    bool removeRange(void* element1, void* element2);
    bool removeRangeAt(unsigned number1, unsigned number2);

    // For iterators: the first node (the end node when empty), the end node,
    // the last element node (the end node when empty), the node before `node`
    // (the end node when it is the first) and the number of `node` (the
    // element count when it is the end node).
    const LinkNode* head() const;
    const LinkNode* end() const;
    const LinkNode* lastNode() const;
    const LinkNode* nodeBefore(const LinkNode* node) const;
    unsigned numberOf(const LinkNode* node) const;

private:
    static LinkNode* newNode(void* element, LinkNode* next);
    static void freeNode(LinkNode* node);

    LinkNode* find(void* element);
    LinkNode* find(void* element, LinkNode*& previous);
    LinkNode* locate(unsigned number) const;
    LinkNode* locate(unsigned number, LinkNode*& previous) const;
    LinkNode* lastElementNode() const;

    void linkBefore(LinkNode* previous, LinkNode* node, void* element);
    void removeStretch(LinkNode* from, LinkNode* to);
    void dropBefore(LinkNode* node);
    void dropAfter(LinkNode* node);

    LinkNode* head_;
    LinkNode* end_;
};

}  // namespace RUZ

#endif
