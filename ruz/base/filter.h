#ifndef RUZ_BASE_FILTER_H
#define RUZ_BASE_FILTER_H

#include <algorithm>
#include <memory>
#include <new>
#include <source_location>
#include <type_traits>

#include "ruz/base/exception.h"
#include "ruz/base/flow.h"

namespace RUZ {

// An input flow that forwards every read to an inner flow, which it never
// owns, closes or destroys. It is open while it has an inner flow.
// `unitKinds` are the widths it offers, `filterKinds` those it needs from
// the inner flow.
class IFilter : public IFlow {
public:
    IFilter(int unitKinds, int filterKinds, IFlow* inner);

    // Disconnects; the inner flow stays open for its owner.
    bool close() override;
    bool isOpen() const override;
    // Rewinds the filter, then answers whether the inner flow rewound.
    bool rewind() override;
    // Whether the whole chain below can serve one of the needed widths.
    bool isReady() const override;
    char read8() override;
    unsigned short read16() override;
    ULong read32() override;
    // One block call on the inner flow.
    void readBlock8(unsigned n, char* dest, unsigned& got) override;
    void readBlock16(unsigned n, unsigned short* dest, unsigned& got) override;
    void readBlock32(unsigned n, ULong* dest, unsigned& got) override;

    // Connects to `f` (disconnects for null) without closing the previous
    // inner flow; the filter is at its start either way.
    virtual void attach(IFlow* f);
    virtual int filterKinds() const;
    // The needed widths that the inner flow offers; 0 when not connected.
    virtual int effectiveKinds() const;

protected:
    // The forwarding every read of this filter does, for one width; typed
    // filters call it for their own width without a virtual call.
    template <CodeUnit T>
    T readInner() {
        requireInner();
        const T u = (inner_->*UnitOps<T>::read)();
        setAtStart(false);
        return u;
    }

    template <CodeUnit T>
    void readBlockInner(unsigned n, T* dest, unsigned& got) {
        requireInner();
        (inner_->*UnitOps<T>::readBlock)(n, dest, got);
        setAtStart(false);
    }

private:
    void requireInner() const;

    IFlow* inner_;
    int filterKinds_;
};

// An output flow that forwards every write to an inner flow, which it never
// owns, closes or destroys. It is open while it has an inner flow.
class OFilter : public OFlow {
public:
    OFilter(int unitKinds, int filterKinds, OFlow* inner);

    // Disconnects; the inner flow stays open for its owner.
    bool close() override;
    bool isOpen() const override;
    // Rewinds the filter, then answers whether the inner flow rewound.
    bool rewind() override;
    bool isReady() const override;
    void flush() override;
    void write8(char u) override;
    void write16(unsigned short u) override;
    void write32(ULong u) override;
    // One block call on the inner flow.
    void writeBlock8(unsigned n, const char* src, unsigned& done) override;
    void writeBlock16(unsigned n, const unsigned short* src, unsigned& done) override;
    void writeBlock32(unsigned n, const ULong* src, unsigned& done) override;

    // Connects to `f` (disconnects for null) without closing the previous
    // inner flow; at start when connecting, not when disconnecting.
    virtual void attach(OFlow* f);

protected:
    // The forwarding every write of this filter does, for one width.
    template <CodeUnit T>
    void writeInner(T u) {
        requireInner();
        (inner_->*UnitOps<T>::write)(u);
        setAtStart(false);
    }

    template <CodeUnit T>
    void writeBlockInner(unsigned n, const T* src, unsigned& done) {
        requireInner();
        (inner_->*UnitOps<T>::writeBlock)(n, src, done);
        setAtStart(false);
    }

private:
    void requireInner() const;

    OFlow* inner_;
    int filterKinds_;
};

// Raised by the typed filters for the widths other than their own.
[[noreturn]] inline void refuseFilterWidth(std::source_location at = std::source_location::current()) {
    raiseIO(SourceFile::filter, IOException::Unsupported, at);
}

// An input filter fixed to units of type T; reads of the other two widths
// raise Unsupported.
template <CodeUnit T>
class TIFilter : public IFilter {
public:
    TIFilter(int filterKinds, IFlow* inner) : IFilter(unitKind<T>(), filterKinds, inner) {}

    char read8() override {
        if constexpr (std::is_same_v<T, char>) return IFilter::read8();
        else refuseFilterWidth();
    }
    unsigned short read16() override {
        if constexpr (std::is_same_v<T, unsigned short>) return IFilter::read16();
        else refuseFilterWidth();
    }
    ULong read32() override {
        if constexpr (std::is_same_v<T, ULong>) return IFilter::read32();
        else refuseFilterWidth();
    }
    void readBlock8(unsigned n, char* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, char>) IFilter::readBlock8(n, dest, got);
        else refuseFilterWidth();
    }
    void readBlock16(unsigned n, unsigned short* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, unsigned short>) IFilter::readBlock16(n, dest, got);
        else refuseFilterWidth();
    }
    void readBlock32(unsigned n, ULong* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, ULong>) IFilter::readBlock32(n, dest, got);
        else refuseFilterWidth();
    }

    virtual T readUnit() { return this->template readInner<T>(); }
    virtual void readUnits(unsigned n, T* dest, unsigned& got) {
        this->template readBlockInner<T>(n, dest, got);
    }
};

// An output filter fixed to units of type T; writes of the other two widths
// raise Unsupported.
template <CodeUnit T>
class TOFilter : public OFilter {
public:
    TOFilter(int filterKinds, OFlow* inner) : OFilter(unitKind<T>(), filterKinds, inner) {}

    void write8(char u) override {
        if constexpr (std::is_same_v<T, char>) OFilter::write8(u);
        else refuseFilterWidth();
    }
    void write16(unsigned short u) override {
        if constexpr (std::is_same_v<T, unsigned short>) OFilter::write16(u);
        else refuseFilterWidth();
    }
    void write32(ULong u) override {
        if constexpr (std::is_same_v<T, ULong>) OFilter::write32(u);
        else refuseFilterWidth();
    }
    void writeBlock8(unsigned n, const char* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, char>) OFilter::writeBlock8(n, src, done);
        else refuseFilterWidth();
    }
    void writeBlock16(unsigned n, const unsigned short* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, unsigned short>) OFilter::writeBlock16(n, src, done);
        else refuseFilterWidth();
    }
    void writeBlock32(unsigned n, const ULong* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, ULong>) OFilter::writeBlock32(n, src, done);
        else refuseFilterWidth();
    }

    virtual void writeUnit(T u) { this->template writeInner<T>(u); }
    virtual void writeUnits(unsigned n, const T* src, unsigned& done) {
        this->template writeBlockInner<T>(n, src, done);
    }
};

// A typed input filter to which read units can be given back. Single-unit
// reads of its width take the most recently pushed-back unit first; block
// reads go to the inner flow directly and leave pushed-back units waiting.
template <CodeUnit T>
class PushbackIFilter : public TIFilter<T> {
public:
    static constexpr unsigned initialCapacity = 16;

    explicit PushbackIFilter(IFlow* inner)
        : TIFilter<T>(unitKind<T>(), inner), buffer_(std::make_unique<T[]>(initialCapacity)) {}

    // Discards the pushed-back units, also when not connected.
    bool rewind() override {
        count_ = 0;
        return IFilter::rewind();
    }
    char read8() override {
        if constexpr (std::is_same_v<T, char>) return takeUnit();
        else return TIFilter<T>::read8();
    }
    unsigned short read16() override {
        if constexpr (std::is_same_v<T, unsigned short>) return takeUnit();
        else return TIFilter<T>::read16();
    }
    ULong read32() override {
        if constexpr (std::is_same_v<T, ULong>) return takeUnit();
        else return TIFilter<T>::read32();
    }
    T readUnit() override { return takeUnit(); }

    // Pushes `u` to be read next. Needs no inner flow. The stack doubles when
    // full; if that allocation fails, std::bad_alloc leaves it unchanged.
    virtual void pushBack(T u) {
        if (count_ == capacity_) grow();
        buffer_[count_++] = u;
    }

    unsigned pushedBackCount() const { return count_; }
    unsigned pushBackCapacity() const { return capacity_; }

private:
    T takeUnit() {
        if (!this->isOpen()) raiseIO(SourceFile::filter, IOException::InputNotConnected);
        if (count_ > 0) return buffer_[--count_];
        return this->template readInner<T>();
    }

    void grow() {
        if (capacity_ > ~0u / 2) throw std::bad_alloc();
        auto grown = std::make_unique_for_overwrite<T[]>(2 * capacity_);
        std::copy(buffer_.get(), buffer_.get() + count_, grown.get());
        buffer_ = std::move(grown);
        capacity_ *= 2;
    }

    std::unique_ptr<T[]> buffer_;
    unsigned capacity_ = initialCapacity;
    unsigned count_ = 0;
};

extern template class TIFilter<char>;
extern template class TIFilter<unsigned short>;
extern template class TIFilter<ULong>;
extern template class TOFilter<char>;
extern template class TOFilter<unsigned short>;
extern template class TOFilter<ULong>;
extern template class PushbackIFilter<char>;
extern template class PushbackIFilter<unsigned short>;
extern template class PushbackIFilter<ULong>;

}  // namespace RUZ

#endif
