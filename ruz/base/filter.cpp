#include "ruz/base/filter.h"

namespace RUZ {

IFilter::IFilter(int unitKinds, int filterKinds, IFlow* inner)
    : IFlow(unitKinds), inner_(inner), filterKinds_(filterKinds) {
    setOpen(inner != nullptr);
}

bool IFilter::close() {
    if (inner_ == nullptr) return false;
    inner_ = nullptr;
    return true;
}

bool IFilter::isOpen() const { return inner_ != nullptr; }

bool IFilter::rewind() {
    if (inner_ == nullptr) return false;
    Flow::rewind();
    return inner_->rewind();
}

bool IFilter::isReady() const { return inner_ != nullptr && effectiveKinds() != 0 && inner_->isReady(); }

char IFilter::read8() { return readInner<char>(); }
unsigned short IFilter::read16() { return readInner<unsigned short>(); }
ULong IFilter::read32() { return readInner<ULong>(); }

void IFilter::readBlock8(unsigned n, char* dest, unsigned& got) { readBlockInner(n, dest, got); }
void IFilter::readBlock16(unsigned n, unsigned short* dest, unsigned& got) { readBlockInner(n, dest, got); }
void IFilter::readBlock32(unsigned n, ULong* dest, unsigned& got) { readBlockInner(n, dest, got); }

void IFilter::attach(IFlow* f) {
    inner_ = f;
    setOpen(f != nullptr);
    setAtStart(true);
}

int IFilter::filterKinds() const { return filterKinds_; }

int IFilter::effectiveKinds() const { return isOpen() ? inner_->unitKinds() & filterKinds_ : 0; }

void IFilter::requireInner() const {
    if (!isOpen()) raiseIO(SourceFile::filter, IOException::InputNotConnected);
}

OFilter::OFilter(int unitKinds, int filterKinds, OFlow* inner)
    : OFlow(unitKinds), inner_(inner), filterKinds_(filterKinds) {
    setOpen(inner != nullptr);
}

bool OFilter::close() {
    if (inner_ == nullptr) return false;
    inner_ = nullptr;
    return true;
}

bool OFilter::isOpen() const { return inner_ != nullptr; }

bool OFilter::rewind() {
    if (inner_ == nullptr) return false;
    Flow::rewind();
    return inner_->rewind();
}

bool OFilter::isReady() const {
    return isOpen() && inner_ != nullptr && (inner_->unitKinds() & filterKinds_) != 0 && inner_->isReady();
}

void OFilter::flush() {
    requireInner();
    inner_->flush();
}

void OFilter::write8(char u) { writeInner(u); }
void OFilter::write16(unsigned short u) { writeInner(u); }
void OFilter::write32(ULong u) { writeInner(u); }

void OFilter::writeBlock8(unsigned n, const char* src, unsigned& done) { writeBlockInner(n, src, done); }

void OFilter::writeBlock16(unsigned n, const unsigned short* src, unsigned& done) {
    writeBlockInner(n, src, done);
}

void OFilter::writeBlock32(unsigned n, const ULong* src, unsigned& done) { writeBlockInner(n, src, done); }

void OFilter::attach(OFlow* f) {
    inner_ = f;
    setOpen(f != nullptr);
}

void OFilter::requireInner() const {
    if (inner_ == nullptr) raiseIO(SourceFile::filter, IOException::OutputNotConnected);
}

template class TIFilter<char>;
template class TIFilter<unsigned short>;
template class TIFilter<ULong>;
template class TOFilter<char>;
template class TOFilter<unsigned short>;
template class TOFilter<ULong>;
template class PushbackIFilter<char>;
template class PushbackIFilter<unsigned short>;
template class PushbackIFilter<ULong>;

}  // namespace RUZ
