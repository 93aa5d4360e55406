#include "ruz/base/linkchain.h"

#include <new>
#include <utility>

namespace RUZ {

namespace {

void* allocateWithNew(std::size_t size) { return ::operator new(size); }

LinkChain::NodeAllocator nodeAllocator = &allocateWithNew;

}  // namespace

LinkChain::NodeAllocator LinkChain::replaceNodeAllocator(NodeAllocator allocator) {
    return std::exchange(nodeAllocator, allocator);
}

LinkNode* LinkChain::newNode(void* element, LinkNode* next) {
    return ::new (nodeAllocator(sizeof(LinkNode))) LinkNode{{}, element, next};
}

void LinkChain::freeNode(LinkNode* node) { ::operator delete(node); }

LinkChain::LinkChain() : head_(newNode(nullptr, nullptr)), end_(head_) { end_->next = end_; }

LinkChain::~LinkChain() {
    clear();
    freeNode(end_);
}

bool LinkChain::isEmpty() const { return head_ == end_; }

unsigned LinkChain::count() const {
    unsigned n = 0;
    for (const LinkNode* node = head_; node != end_; node = node->next) ++n;
    return n;
}

bool LinkChain::remove(void* element) {
    LinkNode* node = find(element);
    if (node == end_) return false;
    removeStretch(node, node);
    return true;
}

void LinkChain::clear() { dropBefore(end_); }

bool LinkChain::contains(void* element) { return find(element) != end_; }

void* LinkChain::at(unsigned index) const {
    const LinkNode* node = head_;
    for (unsigned step = 0; step < index && node != end_; ++step) node = node->next;
    return node->element;
}

unsigned LinkChain::indexOf(void* element) {
    end_->element = element;
    unsigned number = 1;
    const LinkNode* node = head_;
    for (; node->element != element; node = node->next) ++number;
    end_->element = nullptr;
    return node == end_ ? 0 : number;
}

void* LinkChain::before(void* element) {
    LinkNode* previous;
    if (find(element, previous) == end_) return nullptr;
    // The end node stands for "no previous node" and holds null.
    return previous->element;
}

void* LinkChain::after(void* element) {
    const LinkNode* node = find(element);
    // Past the last element (or past an absent one) lies the end node.
    return node == end_ ? nullptr : node->next->element;
}

void* LinkChain::first() const { return head_->element; }

void* LinkChain::last() const { return lastElementNode()->element; }

const LinkNode* LinkChain::prepend(void* element) {
    head_ = newNode(element, head_);
    return head_;
}

void* LinkChain::removeFirst() {
    if (isEmpty()) return nullptr;
    LinkNode* dropped = head_;
    void* element = dropped->element;
    head_ = dropped->next;
    freeNode(dropped);
    return element;
}

// The new end node is allocated before anything changes, so a failed
// allocation leaves the chain as it was.
const LinkNode* LinkChain::append(void* element) {
    LinkNode* newEnd = newNode(nullptr, nullptr);
    newEnd->next = newEnd;
    LinkNode* filled = end_;
    filled->element = element;
    filled->next = newEnd;
    end_ = newEnd;
    return filled;
}

void* LinkChain::removeLast() {
    if (isEmpty()) return nullptr;
    LinkNode* last = lastElementNode();
    void* element = last->element;
    freeNode(end_);
    last->element = nullptr;
    last->next = last;
    end_ = last;
    return element;
}

bool LinkChain::insertBefore(void* existing, void* element) {
    LinkNode* previous;
    LinkNode* node = find(existing, previous);
    if (node == end_) return false;
    linkBefore(previous, node, element);
    return true;
}

bool LinkChain::insertAt(unsigned number, void* element) {
    LinkNode* previous;
    LinkNode* node = locate(number, previous);
    if (node == end_) return false;
    linkBefore(previous, node, element);
    return true;
}

bool LinkChain::insertAfter(void* existing, void* element) {
    LinkNode* node = find(existing);
    if (node == end_) return false;
    node->next = newNode(element, node->next);
    return true;
}

bool LinkChain::insertAfterAt(unsigned number, void* element) {
    LinkNode* node = locate(number);
    if (node == end_) return false;
    node->next = newNode(element, node->next);
    return true;
}

bool LinkChain::removeAt(unsigned number) {
    LinkNode* node = locate(number);
    if (node == end_) return false;
    removeStretch(node, node);
    return true;
}

bool LinkChain::replace(void* old, void* element) {
    LinkNode* node = find(old);
    if (node == end_) return false;
    node->element = element;
    return true;
}

bool LinkChain::setAt(unsigned number, void* element) {
    LinkNode* node = locate(number);
    if (node == end_) return false;
    node->element = element;
    return true;
}

bool LinkChain::swapAt(unsigned number1, unsigned number2) {
    LinkNode* node1 = locate(number1);
    LinkNode* node2 = locate(number2);
    if (node1 == end_ || node2 == end_) return false;
    std::swap(node1->element, node2->element);
    return true;
}

bool LinkChain::swap(void* element1, void* element2) {
    LinkNode* node1 = find(element1);
    if (node1 == end_) return false;
    LinkNode* node2 = find(element2);
    if (node2 == end_) return false;
    std::swap(node1->element, node2->element);
    return true;
}

bool LinkChain::removeBefore(void* element) {
    LinkNode* node = find(element);
    if (node == end_) return false;
    dropBefore(node);
    return true;
}

bool LinkChain::removeBeforeAt(unsigned number) {
    LinkNode* node = locate(number);
    if (node == end_) return false;
    dropBefore(node);
    return true;
}

bool LinkChain::removeAfter(void* element) {
    LinkNode* node = find(element);
    if (node == end_) return false;
    dropAfter(node);
    return true;
}

bool LinkChain::removeAfterAt(unsigned number) {
    LinkNode* node = locate(number);
    if (node == end_) return false;
    dropAfter(node);
    return true;
}

// One walk finds both first occurrences: element1 is planted and sought while
// the nodes before it are checked for element2; if element2 was not among
// them, it is planted in turn and sought from element1's node on.
bool LinkChain::removeRange(void* element1, void* element2) {
    end_->element = element1;
    LinkNode* node1 = head_;
    LinkNode* earlier2 = end_;
    for (; node1->element != element1; node1 = node1->next) {
        if (earlier2 == end_ && node1->element == element2) earlier2 = node1;
    }
    if (node1 == end_) {
        end_->element = nullptr;
        return false;
    }
    if (earlier2 != end_) {
        end_->element = nullptr;
        removeStretch(earlier2, node1);
        return true;
    }
    end_->element = element2;
    LinkNode* node2 = node1;
    while (node2->element != element2) node2 = node2->next;
    end_->element = nullptr;
    if (node2 == end_) return false;
    removeStretch(node1, node2);
    return true;
}

bool LinkChain::removeRangeAt(unsigned number1, unsigned number2) {
    if (number1 > number2) std::swap(number1, number2);
    LinkNode* from = locate(number1);
    LinkNode* to = from;
    for (unsigned step = number1; step < number2 && to != end_; ++step) to = to->next;
    if (from == end_ || to == end_) return false;
    removeStretch(from, to);
    return true;
}

const LinkNode* LinkChain::head() const { return head_; }

const LinkNode* LinkChain::end() const { return end_; }

const LinkNode* LinkChain::lastNode() const { return lastElementNode(); }

const LinkNode* LinkChain::nodeBefore(const LinkNode* node) const {
    const LinkNode* previous = end_;
    for (const LinkNode* walk = head_; walk != node && walk != end_; walk = walk->next) previous = walk;
    return previous;
}

unsigned LinkChain::numberOf(const LinkNode* node) const {
    unsigned number = 0;
    for (const LinkNode* walk = head_; walk != end_; walk = walk->next) {
        ++number;
        if (walk == node) break;
    }
    return number;
}

LinkNode* LinkChain::find(void* element) {
    end_->element = element;
    LinkNode* node = head_;
    while (node->element != element) node = node->next;
    end_->element = nullptr;
    return node;
}

// `previous` is the end node when the match is the first node.
LinkNode* LinkChain::find(void* element, LinkNode*& previous) {
    end_->element = element;
    previous = end_;
    LinkNode* node = head_;
    for (; node->element != element; node = node->next) previous = node;
    end_->element = nullptr;
    return node;
}

// The end node when `number` names no element.
LinkNode* LinkChain::locate(unsigned number) const {
    LinkNode* previous;
    return locate(number, previous);
}

LinkNode* LinkChain::locate(unsigned number, LinkNode*& previous) const {
    previous = end_;
    if (number == 0) return end_;
    LinkNode* node = head_;
    for (unsigned step = 1; step < number && node != end_; ++step) {
        previous = node;
        node = node->next;
    }
    return node;
}

LinkNode* LinkChain::lastElementNode() const {
    LinkNode* last = head_;
    if (last == end_) return end_;
    while (last->next != end_) last = last->next;
    return last;
}

// Existing nodes never move: the new node goes after `previous`, or becomes
// the head when `previous` is the end node.
void LinkChain::linkBefore(LinkNode* previous, LinkNode* node, void* element) {
    LinkNode* inserted = newNode(element, node);
    if (previous == end_) {
        head_ = inserted;
    } else {
        previous->next = inserted;
    }
}

// Removes the elements of `from` up to `to` inclusive (`from` not after `to`).
// The nodes after `from` up to `to` are freed; `from` then takes over the
// node that followed `to`, which is freed too, or becomes the end node.
void LinkChain::removeStretch(LinkNode* from, LinkNode* to) {
    LinkNode* follower = to->next;
    for (LinkNode* node = from->next; node != follower;) {
        LinkNode* next = node->next;
        freeNode(node);
        node = next;
    }
    if (follower == end_) {
        from->element = nullptr;
        from->next = from;
        end_ = from;
    } else {
        from->element = follower->element;
        from->next = follower->next;
    }
    freeNode(follower);
}

void LinkChain::dropBefore(LinkNode* node) {
    while (head_ != node) {
        LinkNode* next = head_->next;
        freeNode(head_);
        head_ = next;
    }
}

void LinkChain::dropAfter(LinkNode* node) {
    for (LinkNode* dropped = node->next; dropped != end_;) {
        LinkNode* next = dropped->next;
        freeNode(dropped);
        dropped = next;
    }
    node->next = end_;
}

}  // namespace RUZ
