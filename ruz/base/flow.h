#ifndef RUZ_BASE_FLOW_H
#define RUZ_BASE_FLOW_H

#include <type_traits>

#include "ruz/base/object.h"
#include "ruz/base/string.h"

namespace RUZ {

// Unit kinds: the bits of the mask by which a flow declares the unit widths
// it handles.
inline constexpr int Unit8 = 1;
inline constexpr int Unit16 = 2;
inline constexpr int Unit32 = 4;
inline constexpr int AllUnitKinds = Unit8 | Unit16 | Unit32;

// The three code-unit types that flows move.
template <class T>
concept CodeUnit =
    std::is_same_v<T, char> || std::is_same_v<T, unsigned short> || std::is_same_v<T, ULong>;

// The unit-kind bit of a code-unit type.
template <CodeUnit T>
constexpr int unitKind() {
    if constexpr (std::is_same_v<T, char>) return Unit8;
    else if constexpr (std::is_same_v<T, unsigned short>) return Unit16;
    else return Unit32;
}

// The state every flow shares: its own open flag, the widths it handles, and
// whether anything has been transferred since it was opened or rewound.
class Flow : public Object {
public:
    Flow(const Flow&) = delete;
    Flow& operator=(const Flow&) = delete;

    virtual ~Flow() = default;
    virtual bool close();
    virtual bool isOpen() const;
    virtual int unitKinds() const;
    virtual bool supports(int kinds) const;
    virtual bool rewind();
    virtual bool isAtStart() const;
    virtual bool isReady() const;

protected:
    explicit Flow(int unitKinds) : unitKinds_(unitKinds) {}

    // A flow that becomes open is at its start; one that becomes closed is not.
    void setOpen(bool b) { open_ = atStart_ = b; }
    void setAtStart(bool b) { atStart_ = b; }

private:
    bool open_ = true;
    int unitKinds_;
    bool atStart_ = true;
};

// A source of code units. Single-unit reads refuse every width until a
// derived flow overrides them; block and line reads loop over them.
class IFlow : public Flow {
public:
    explicit IFlow(int unitKinds) : Flow(unitKinds) {}
    ~IFlow() override = 0;

    // Each returns the next unit or raises EndOfFlow when there is none.
    virtual char read8();
    virtual unsigned short read16();
    virtual ULong read32();
    // Reads up to n units; stops normally at EndOfFlow with `got` counting the
    // units stored. Any other failure passes on, `got` still valid.
    virtual void readBlock8(unsigned n, char* dest, unsigned& got);
    virtual void readBlock16(unsigned n, unsigned short* dest, unsigned& got);
    virtual void readBlock32(unsigned n, ULong* dest, unsigned& got);
    // Reads up to and including a line feed; a 0 unit ends the line unstored.
    // True exactly when the end of the flow was met.
    virtual bool readLine(String<ULong>& s, bool append);
    virtual bool readLine(String<unsigned short>& s, bool append);
    virtual bool readLine(String<char>& s, bool append);
};

// A sink of code units. Single-unit writes refuse every width until a
// derived flow overrides them; block, text and string writes go through them.
class OFlow : public Flow {
public:
    explicit OFlow(int unitKinds) : Flow(unitKinds) {}
    ~OFlow() override = 0;

    virtual void flush();
    virtual void write8(char u);
    virtual void write16(unsigned short u);
    virtual void write32(ULong u);
    // Writes the n units in order; on failure `done` counts those written.
    virtual void writeBlock8(unsigned n, const char* src, unsigned& done);
    virtual void writeBlock16(unsigned n, const unsigned short* src, unsigned& done);
    virtual void writeBlock32(unsigned n, const ULong* src, unsigned& done);
    // Writes the units before the first 0 unit; true when all were written.
    virtual bool writeText(const ULong* z);
    virtual bool writeText(const unsigned short* z);
    virtual bool writeText(const char* z);
    // Writes the string's content; true when all of it was written.
    virtual bool writeString(const String<ULong>& s);
    virtual bool writeString(const String<unsigned short>& s);
    virtual bool writeString(const String<char>& s);
};

// The flow operations that move units of type T, so that code written once
// for all widths calls the operation of its own width. Calls through these
// pointers are virtual.
template <CodeUnit T>
struct UnitOps;

template <>
struct UnitOps<char> : Object {
    static constexpr char (IFlow::*read)() = &IFlow::read8;
    static constexpr void (IFlow::*readBlock)(unsigned, char*, unsigned&) = &IFlow::readBlock8;
    static constexpr void (OFlow::*write)(char) = &OFlow::write8;
    static constexpr void (OFlow::*writeBlock)(unsigned, const char*, unsigned&) = &OFlow::writeBlock8;
};

template <>
struct UnitOps<unsigned short> : Object {
    static constexpr unsigned short (IFlow::*read)() = &IFlow::read16;
    static constexpr void (IFlow::*readBlock)(unsigned, unsigned short*, unsigned&) = &IFlow::readBlock16;
    static constexpr void (OFlow::*write)(unsigned short) = &OFlow::write16;
    static constexpr void (OFlow::*writeBlock)(unsigned, const unsigned short*, unsigned&) =
        &OFlow::writeBlock16;
};

template <>
struct UnitOps<ULong> : Object {
    static constexpr ULong (IFlow::*read)() = &IFlow::read32;
    static constexpr void (IFlow::*readBlock)(unsigned, ULong*, unsigned&) = &IFlow::readBlock32;
    static constexpr void (OFlow::*write)(ULong) = &OFlow::write32;
    static constexpr void (OFlow::*writeBlock)(unsigned, const ULong*, unsigned&) = &OFlow::writeBlock32;
};

}  // namespace RUZ

#endif
