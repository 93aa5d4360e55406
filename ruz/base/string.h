#ifndef RUZ_BASE_STRING_H
#define RUZ_BASE_STRING_H

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "ruz/base/iterator.h"
#include "ruz/base/object.h"

namespace RUZ {

template <class T>
class String;

// A position inside a string: unit `offset_` counted from the first unit that
// the target's data() returns.
template <class T>
class StringPtr : public Object {
public:
    StringPtr(const StringPtr<T>* target, unsigned offset) : target_(target), offset_(offset) {}
    virtual ~StringPtr() = default;

    virtual const T* data() const { return target_->data() + offset_; }
    virtual unsigned offset() const { return offset_; }
    virtual const T* dataAt(unsigned i) const { return target_->data() + offset_ + i; }

protected:
    StringPtr(const StringPtr&) = default;
    StringPtr& operator=(const StringPtr&) = default;

    const StringPtr<T>* target_;
    unsigned offset_;
};

// A range [offset_, end_) of a string's units; the type through which strings
// are passed to assign, append and the iterator.
template <class T>
class SubString : public StringPtr<T> {
public:
    SubString(const StringPtr<T>* target, unsigned offset, unsigned end)
        : StringPtr<T>(target, offset), end_(end) {}

    virtual unsigned length() const { return end_ - this->offset_; }
    virtual const T* endData() const { return this->target_->data() + end_; }

protected:
    SubString(const SubString&) = default;
    SubString& operator=(const SubString&) = default;

    unsigned end_;
};

// A growable string of code units: the content is units [offset_, end_) of an
// owned malloc block. Dropping units from the front moves only offset_, and
// appending reuses the freed front room before the block is ever enlarged.
// The block grows to exactly the size needed and never shrinks. Running out
// of memory throws std::bad_alloc; the string is then left as it was. A
// moved-from string is empty and has no block until it next grows.
template <class T>
class String : public SubString<T> {
public:
    static constexpr unsigned defaultCapacity = 10;

    String() : SubString<T>(this, 0, 0) { allocate(defaultCapacity); }

    String(const T* units, unsigned n) : SubString<T>(this, 0, 0) {
        if (units == nullptr) {
            allocate(defaultCapacity);
            return;
        }
        allocate(n);
        moveUnits(block_, units, n);
        this->end_ = n;
    }

    explicit String(const T* z) : String(z, zeroTerminatedLength(z)) {}

    String(const String& other) : String(other.data(), other.length()) {}

    String(String&& other) noexcept
        : SubString<T>(this, other.offset_, other.end_),
          block_(std::exchange(other.block_, nullptr)),
          capacityBytes_(std::exchange(other.capacityBytes_, 0)) {
        other.offset_ = other.end_ = 0;
    }

    String& operator=(const String& other) {
        if (this != &other) assign(other);
        return *this;
    }

    String& operator=(String&& other) noexcept {
        if (this != &other) {
            std::free(block_);
            block_ = std::exchange(other.block_, nullptr);
            capacityBytes_ = std::exchange(other.capacityBytes_, 0);
            this->offset_ = std::exchange(other.offset_, 0);
            this->end_ = std::exchange(other.end_, 0);
        }
        return *this;
    }

    ~String() override { std::free(block_); }

    const T* data() const override { return block_ + this->offset_; }
    unsigned offset() const override { return 0; }
    const T* dataAt(unsigned i) const override { return block_ + this->offset_ + i; }
    unsigned length() const override { return this->end_ - this->offset_; }
    const T* endData() const override { return block_ + this->end_; }

    // Units the block holds; the content may start after its front.
    unsigned capacity() const { return capacityBytes_ / sizeof(T); }
    // Index of the first content unit inside the block.
    unsigned blockOffset() const { return this->offset_; }

    void clear() { this->offset_ = this->end_ = 0; }

    void assign(const SubString<T>& s) {
        const unsigned n = s.length();
        reserve(n);
        moveUnits(block_, s.data(), n);
        this->offset_ = 0;
        this->end_ = n;
    }

    void assign(const T* z) {
        const unsigned n = zeroTerminatedLength(z);
        reserve(n);
        moveUnits(block_, z, n);
        this->offset_ = 0;
        this->end_ = n;
    }

    void append(T u) {
        if (this->end_ < capacity()) {
            block_[this->end_++] = u;
        } else if (this->offset_ > 0) {
            slideTowardsFront(1);
            block_[this->end_ - 1] = u;
        } else {
            reserve(checkedSum(this->end_, 1));
            block_[this->end_++] = u;
        }
    }

    // `s` is read after any move or reallocation, so a string appended to
    // itself doubles.
    void append(const SubString<T>& s) {
        const unsigned n = s.length();
        if (static_cast<unsigned long long>(this->end_) + n < capacity()) {
            moveUnits(block_ + this->end_, s.data(), n);
            this->end_ += n;
        } else if (this->offset_ > n) {
            slideTowardsFront(n);
            moveUnits(block_ + this->end_ - n, s.data(), n);
        } else {
            reserve(checkedSum(this->end_, n));
            moveUnits(block_ + this->end_, s.data(), n);
            this->end_ += n;
        }
    }

    // Removes `count` units at content position `pos`, moving the shorter
    // side of the gap (the front on a tie). Out-of-range requests are clipped
    // or ignored; the result is always true.
    bool remove(unsigned pos, unsigned count) {
        const unsigned len = length();
        if (pos >= len || count == 0) return true;
        if (pos == 0 && count <= len) {
            this->offset_ += count;
        } else if (static_cast<unsigned long long>(pos) + count >= len) {
            this->end_ = this->offset_ + pos;
        } else {
            const unsigned tail = len - pos - count;
            T* content = block_ + this->offset_;
            if (pos <= tail) {
                std::memmove(content + count, content, bytes(pos));
                this->offset_ += count;
            } else {
                std::memmove(content + pos, content + pos + count, bytes(tail));
                this->end_ -= count;
            }
        }
        return true;
    }

    // A null text counts as empty.
    static unsigned zeroTerminatedLength(const T* z) {
        if (z == nullptr) return 0;
        unsigned n = 0;
        while (z[n] != T(0)) ++n;
        return n;
    }

private:
    static std::size_t bytes(unsigned units) { return std::size_t(units) * sizeof(T); }

    static unsigned checkedSum(unsigned a, unsigned b) {
        if (b > std::numeric_limits<unsigned>::max() - a) throw std::bad_alloc();
        return a + b;
    }

    // Copies n units, the places possibly overlapping. Nothing is touched for
    // n = 0, when a moved-from string (which has no block) may be either side.
    static void moveUnits(T* dest, const T* src, unsigned n) {
        if (n != 0) std::memmove(dest, src, bytes(n));
    }

    // A block of exactly `units` units (one byte when that is zero).
    void allocate(unsigned units) {
        const std::size_t size = blockBytes(units);
        block_ = static_cast<T*>(std::malloc(size));
        if (block_ == nullptr) throw std::bad_alloc();
        capacityBytes_ = static_cast<unsigned>(units * sizeof(T));
    }

    // Enlarges the block to exactly `units` units when it holds fewer.
    void reserve(unsigned units) {
        if (units <= capacity()) return;
        T* grown = static_cast<T*>(std::realloc(block_, blockBytes(units)));
        if (grown == nullptr) throw std::bad_alloc();
        block_ = grown;
        capacityBytes_ = static_cast<unsigned>(units * sizeof(T));
    }

    static std::size_t blockBytes(unsigned units) {
        if (units > std::numeric_limits<unsigned>::max() / sizeof(T)) throw std::bad_alloc();
        return units == 0 ? 1 : bytes(units);
    }

    // Moves the content `n` units towards the front of the block; offset_
    // drops by n and end_ stays, leaving n free units at the content's end.
    void slideTowardsFront(unsigned n) {
        std::memmove(block_ + this->offset_ - n, block_ + this->offset_, bytes(length()));
        this->offset_ -= n;
    }

    T* block_ = nullptr;
    unsigned capacityBytes_ = 0;
};

// Walks the units of a substring. The subject's length and storage are read
// afresh at every step, so units appended to a string become visible and a
// string that shrinks invalidates positions past its new end.
template <class T>
class SubStringIterator : public Iterator<const T> {
public:
    explicit SubStringIterator(const SubString<T>& s) : subject_(&s), pos_(s.length() != 0 ? 1 : 0) {}

    const T* current() const override { return valid() ? subject_->data() + pos_ - 1 : nullptr; }

    const T* next() override {
        if (!valid()) return nullptr;
        return subject_->data() + pos_++ - 1;
    }

    const T* previous() override {
        if (!valid()) return nullptr;
        return subject_->data() + pos_-- - 1;
    }

    const T* first() override {
        pos_ = subject_->length() != 0 ? 1 : 0;
        return pos_ != 0 ? subject_->data() : nullptr;
    }

    const T* last() override {
        pos_ = subject_->length();
        return pos_ != 0 ? subject_->data() + pos_ - 1 : nullptr;
    }

    bool hasMore() const override { return valid(); }
    unsigned position() const override { return pos_; }

private:
    bool valid() const { return pos_ >= 1 && pos_ <= subject_->length(); }

    const SubString<T>* subject_;
    unsigned pos_;
};

extern template class StringPtr<char>;
extern template class StringPtr<unsigned short>;
extern template class StringPtr<ULong>;
extern template class SubString<char>;
extern template class SubString<unsigned short>;
extern template class SubString<ULong>;
extern template class String<char>;
extern template class String<unsigned short>;
extern template class String<ULong>;
extern template class SubStringIterator<char>;
extern template class SubStringIterator<unsigned short>;
extern template class SubStringIterator<ULong>;

}  // namespace RUZ

#endif
