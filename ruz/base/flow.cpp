#include "ruz/base/flow.h"

#include "ruz/base/exception.h"

namespace RUZ {

namespace {

[[noreturn]] void refuseWidth(std::source_location at = std::source_location::current()) {
    raiseIO(SourceFile::flow, IOException::Unsupported, at);
}

// Block read through the flow's virtual single-unit read of width T.
template <CodeUnit T>
void readUnitByUnit(IFlow& flow, unsigned n, T* dest, unsigned& got) {
    got = 0;
    try {
        for (; got < n; ++got) dest[got] = (flow.*UnitOps<T>::read)();
    } catch (const IOException& e) {
        if (e.code != IOException::EndOfFlow) throw;
    }
}

// Line read through the flow's virtual single-unit read of width T.
template <CodeUnit T>
bool readLineUnitByUnit(IFlow& flow, String<T>& s, bool append) {
    if (!append) s.clear();
    try {
        for (;;) {
            const T u = (flow.*UnitOps<T>::read)();
            if (u == T(0)) return false;
            s.append(u);
            if (u == T(10)) return false;
        }
    } catch (const IOException& e) {
        if (e.code != IOException::EndOfFlow) throw;
        return true;
    }
}

// Block write through the flow's virtual single-unit write of width T.
template <CodeUnit T>
void writeUnitByUnit(OFlow& flow, unsigned n, const T* src, unsigned& done) {
    for (done = 0; done < n; ++done) (flow.*UnitOps<T>::write)(src[done]);
}

// Text write through the flow's virtual block write of width T. A null text
// is taken as empty.
template <CodeUnit T>
bool writeZeroTerminated(OFlow& flow, const T* z) {
    const unsigned n = z == nullptr ? 0 : String<T>::zeroTerminatedLength(z);
    unsigned done = 0;
    (flow.*UnitOps<T>::writeBlock)(n, z, done);
    return done == n;
}

template <CodeUnit T>
bool writeWholeString(OFlow& flow, const String<T>& s) {
    unsigned done = 0;
    (flow.*UnitOps<T>::writeBlock)(s.length(), s.data(), done);
    return s.length() == done;
}

}  // namespace

bool Flow::close() {
    if (!open_) return false;
    open_ = false;
    return true;
}

bool Flow::isOpen() const { return open_; }

int Flow::unitKinds() const { return unitKinds_; }

bool Flow::supports(int kinds) const { return (kinds & unitKinds()) != 0; }

bool Flow::rewind() {
    if (!open_) return false;
    atStart_ = true;
    return true;
}

bool Flow::isAtStart() const { return atStart_; }

bool Flow::isReady() const { return isOpen(); }

IFlow::~IFlow() = default;

char IFlow::read8() { refuseWidth(); }
unsigned short IFlow::read16() { refuseWidth(); }
ULong IFlow::read32() { refuseWidth(); }

void IFlow::readBlock8(unsigned n, char* dest, unsigned& got) { readUnitByUnit(*this, n, dest, got); }

void IFlow::readBlock16(unsigned n, unsigned short* dest, unsigned& got) {
    readUnitByUnit(*this, n, dest, got);
}

void IFlow::readBlock32(unsigned n, ULong* dest, unsigned& got) { readUnitByUnit(*this, n, dest, got); }

bool IFlow::readLine(String<ULong>& s, bool append) { return readLineUnitByUnit(*this, s, append); }

bool IFlow::readLine(String<unsigned short>& s, bool append) {
    return readLineUnitByUnit(*this, s, append);
}

bool IFlow::readLine(String<char>& s, bool append) { return readLineUnitByUnit(*this, s, append); }

OFlow::~OFlow() = default;

void OFlow::flush() {}

void OFlow::write8(char) { refuseWidth(); }
void OFlow::write16(unsigned short) { refuseWidth(); }
void OFlow::write32(ULong) { refuseWidth(); }

void OFlow::writeBlock8(unsigned n, const char* src, unsigned& done) { writeUnitByUnit(*this, n, src, done); }

void OFlow::writeBlock16(unsigned n, const unsigned short* src, unsigned& done) {
    writeUnitByUnit(*this, n, src, done);
}

void OFlow::writeBlock32(unsigned n, const ULong* src, unsigned& done) {
    writeUnitByUnit(*this, n, src, done);
}

bool OFlow::writeText(const ULong* z) { return writeZeroTerminated(*this, z); }
bool OFlow::writeText(const unsigned short* z) { return writeZeroTerminated(*this, z); }
bool OFlow::writeText(const char* z) { return writeZeroTerminated(*this, z); }

bool OFlow::writeString(const String<ULong>& s) { return writeWholeString(*this, s); }
bool OFlow::writeString(const String<unsigned short>& s) { return writeWholeString(*this, s); }
bool OFlow::writeString(const String<char>& s) { return writeWholeString(*this, s); }

}  // namespace RUZ
