#ifndef RUZ_TESTS_FLOW_TEST_SUPPORT_H
#define RUZ_TESTS_FLOW_TEST_SUPPORT_H

// Flows for tests: sources that serve a known text unit by unit or in blocks
// of random short lengths, sinks that record what they are given, and
// helpers that read a flow to its end in the same random way.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <random>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "ruz/base/exception.h"
#include "ruz/base/flow.h"
#include "ruz/base/string.h"

namespace RUZ::flowtest {

using UnitTypes = ::testing::Types<char, unsigned short, ULong>;
// The widths whose units have bits beyond the low byte.
using WideUnitTypes = ::testing::Types<unsigned short, ULong>;

// The source family the test flows raise from, so that a test can tell their
// exceptions from the library's.
inline constexpr char testFlowFile[] = "tests/ruz/flow_test_support";

// One unit of type T per byte of an 8-bit text.
template <CodeUnit T>
std::vector<T> unitsOf(std::string_view text) {
    std::vector<T> units;
    for (const char c : text) units.push_back(static_cast<T>(static_cast<unsigned char>(c)));
    return units;
}

template <CodeUnit T>
String<T> stringOf(std::string_view text) {
    const std::vector<T> units = unitsOf<T>(text);
    return String<T>(units.data(), static_cast<unsigned>(units.size()));
}

template <CodeUnit T>
std::vector<T> contentOf(const String<T>& s) {
    return std::vector<T>(s.data(), s.data() + s.length());
}

// A text of `length` units drawn from a fixed seed, with line feeds and the
// occasional 0 unit among them, and unit values beyond 8 bits where T holds
// them.
template <CodeUnit T>
std::vector<T> randomText(unsigned length, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> pick(0, 99);
    std::vector<T> text;
    for (unsigned i = 0; i < length; ++i) {
        const unsigned p = pick(random);
        if (p < 10) text.push_back(T(10));
        else if (p < 12) text.push_back(T(0));
        else if (p < 20 && sizeof(T) > 1) text.push_back(static_cast<T>(0x0100u + p * 0x0101u));
        else text.push_back(static_cast<T>('a' + p % 26));
    }
    return text;
}

// The own-width operations of any flow, by unit type.
template <CodeUnit T>
T readOne(IFlow& f) {
    return (f.*UnitOps<T>::read)();
}

template <CodeUnit T>
void readBlock(IFlow& f, unsigned n, T* dest, unsigned& got) {
    (f.*UnitOps<T>::readBlock)(n, dest, got);
}

template <CodeUnit T>
void writeOne(OFlow& f, T u) {
    (f.*UnitOps<T>::write)(u);
}

template <CodeUnit T>
void writeBlock(OFlow& f, unsigned n, const T* src, unsigned& done) {
    (f.*UnitOps<T>::writeBlock)(n, src, done);
}

// Runs `action` and returns the IOException it raised, if any.
template <class Action>
std::optional<IOException> raisedBy(Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const IOException& e) {
        return e;
    }
    return std::nullopt;
}

// Whether `action` raises an IOException with exactly this source family and
// code.
template <class Action>
::testing::AssertionResult raises(const char* file, int code, Action&& action) {
    const std::optional<IOException> e = raisedBy(std::forward<Action>(action));
    if (!e) return ::testing::AssertionFailure() << "nothing was raised";
    if (e->code != code || std::strcmp(e->file, file) != 0)
        return ::testing::AssertionFailure() << "raised code " << e->code << " from " << e->file;
    return ::testing::AssertionSuccess();
}

// Serves a text through the single-unit read of its own width; the other
// widths and the block reads keep the IFlow defaults. When the text is used
// up it raises `endCode` (EndOfFlow unless a failure is wanted) and keeps the
// exception it raised last, so that tests can check that it was passed on
// unchanged. Rewinding starts the text again.
template <CodeUnit T>
class ScriptedIFlow : public IFlow {
public:
    explicit ScriptedIFlow(std::vector<T> text, int endCode = IOException::EndOfFlow)
        : IFlow(unitKind<T>()), text_(std::move(text)), endCode_(endCode) {}

    bool rewind() override {
        if (!IFlow::rewind()) return false;
        next_ = 0;
        return true;
    }
    char read8() override {
        if constexpr (std::is_same_v<T, char>) return nextUnit();
        else return IFlow::read8();
    }
    unsigned short read16() override {
        if constexpr (std::is_same_v<T, unsigned short>) return nextUnit();
        else return IFlow::read16();
    }
    ULong read32() override {
        if constexpr (std::is_same_v<T, ULong>) return nextUnit();
        else return IFlow::read32();
    }

    unsigned unitReads() const { return unitReads_; }
    std::size_t remaining() const { return text_.size() - next_; }
    const std::optional<IOException>& lastRaised() const { return lastRaised_; }

protected:
    T nextUnit() {
        ++unitReads_;
        if (next_ == text_.size()) raiseEnd();
        return text_[next_++];
    }

    // Takes up to n units off the text.
    unsigned take(unsigned n, T* dest) {
        const auto count = static_cast<unsigned>(std::min<std::size_t>(n, remaining()));
        std::copy_n(text_.begin() + static_cast<std::ptrdiff_t>(next_), count, dest);
        next_ += count;
        return count;
    }

    [[noreturn]] void raiseEnd() {
        lastRaised_ = IOException(testFlowFile, __LINE__, endCode_);
        throw *lastRaised_;
    }

private:
    std::vector<T> text_;
    std::size_t next_ = 0;
    int endCode_;
    unsigned unitReads_ = 0;
    std::optional<IOException> lastRaised_;
};

// How a chunked flow's block read reports the end of its text.
enum class BlockEnd {
    ReturnsEmpty,    // returns normally with nothing read
    RaisesEndOfFlow  // raises EndOfFlow with nothing read
};

// A ScriptedIFlow whose own-width block read hands out a random short number
// of units (at least one while any remain, at most `maxChunk`), drawn from a
// fixed seed, so that code above it meets blocks cut at arbitrary places.
template <CodeUnit T>
class ChunkedIFlow : public ScriptedIFlow<T> {
public:
    ChunkedIFlow(std::vector<T> text, unsigned seed, BlockEnd end = BlockEnd::ReturnsEmpty,
                 unsigned maxChunk = 7)
        : ScriptedIFlow<T>(std::move(text)), random_(seed), maxChunk_(maxChunk), end_(end) {}

    void readBlock8(unsigned n, char* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, char>) readChunk(n, dest, got);
        else ScriptedIFlow<T>::readBlock8(n, dest, got);
    }
    void readBlock16(unsigned n, unsigned short* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, unsigned short>) readChunk(n, dest, got);
        else ScriptedIFlow<T>::readBlock16(n, dest, got);
    }
    void readBlock32(unsigned n, ULong* dest, unsigned& got) override {
        if constexpr (std::is_same_v<T, ULong>) readChunk(n, dest, got);
        else ScriptedIFlow<T>::readBlock32(n, dest, got);
    }

    unsigned blockReads() const { return blockReads_; }

private:
    void readChunk(unsigned n, T* dest, unsigned& got) {
        ++blockReads_;
        got = 0;
        if (n == 0) return;
        if (this->remaining() == 0) {
            if (end_ == BlockEnd::RaisesEndOfFlow) this->raiseEnd();
            return;
        }
        std::uniform_int_distribution<unsigned> chunk(1, std::min(n, maxChunk_));
        got = this->take(chunk(random_), dest);
    }

    std::mt19937 random_;
    unsigned maxChunk_;
    BlockEnd end_;
    unsigned blockReads_ = 0;
};

// Reads a flow to its end through single-unit reads of width T.
template <CodeUnit T>
std::vector<T> drainByUnits(IFlow& flow) {
    std::vector<T> units;
    for (;;) {
        try {
            units.push_back(readOne<T>(flow));
        } catch (const IOException& e) {
            if (e.code != IOException::EndOfFlow) throw;
            return units;
        }
    }
}

// Reads a flow to its end through block reads of width T asking for random
// lengths from a fixed seed. A block that brings nothing, or EndOfFlow, ends
// the flow; a short block that brings something does not.
template <CodeUnit T>
std::vector<T> drainByBlocks(IFlow& flow, unsigned seed, unsigned maxRequest = 11) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> request(1, maxRequest);
    std::vector<T> units;
    for (;;) {
        std::vector<T> block(request(random));
        unsigned got = 0;
        bool ended = false;
        try {
            readBlock<T>(flow, static_cast<unsigned>(block.size()), block.data(), got);
        } catch (const IOException& e) {
            if (e.code != IOException::EndOfFlow) throw;
            ended = true;
        }
        units.insert(units.end(), block.begin(), block.begin() + got);
        if (ended || got == 0) return units;
    }
}

// Collects the units given to the single-unit write of its own width; other
// widths and the block, text and string writes keep the OFlow defaults.
// After `room` units it raises WriteFailed.
template <CodeUnit T>
class CollectingOFlow : public OFlow {
public:
    explicit CollectingOFlow(unsigned room = ~0u, int unitKinds = unitKind<T>())
        : OFlow(unitKinds), room_(room) {}

    void flush() override { ++flushes_; }
    void write8(char u) override {
        if constexpr (std::is_same_v<T, char>) collect(u);
        else OFlow::write8(u);
    }
    void write16(unsigned short u) override {
        if constexpr (std::is_same_v<T, unsigned short>) collect(u);
        else OFlow::write16(u);
    }
    void write32(ULong u) override {
        if constexpr (std::is_same_v<T, ULong>) collect(u);
        else OFlow::write32(u);
    }

    const std::vector<T>& units() const { return units_; }
    unsigned unitWrites() const { return unitWrites_; }
    unsigned flushes() const { return flushes_; }

protected:
    unsigned roomLeft() const { return room_ - static_cast<unsigned>(units_.size()); }
    std::vector<T> units_;

private:
    void collect(T u) {
        ++unitWrites_;
        if (roomLeft() == 0) throw IOException(testFlowFile, __LINE__, IOException::WriteFailed);
        units_.push_back(u);
    }

    unsigned room_;
    unsigned unitWrites_ = 0;
    unsigned flushes_ = 0;
};

// A CollectingOFlow whose own-width block write takes a whole block in one
// call; when the block does not fit it takes what fits and returns normally
// with `done` short.
template <CodeUnit T>
class BlockCollectingOFlow : public CollectingOFlow<T> {
public:
    using CollectingOFlow<T>::CollectingOFlow;

    void writeBlock8(unsigned n, const char* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, char>) collectBlock(n, src, done);
        else CollectingOFlow<T>::writeBlock8(n, src, done);
    }
    void writeBlock16(unsigned n, const unsigned short* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, unsigned short>) collectBlock(n, src, done);
        else CollectingOFlow<T>::writeBlock16(n, src, done);
    }
    void writeBlock32(unsigned n, const ULong* src, unsigned& done) override {
        if constexpr (std::is_same_v<T, ULong>) collectBlock(n, src, done);
        else CollectingOFlow<T>::writeBlock32(n, src, done);
    }

    unsigned blockWrites() const { return blockWrites_; }

private:
    void collectBlock(unsigned n, const T* src, unsigned& done) {
        ++blockWrites_;
        done = std::min(n, this->roomLeft());
        this->units_.insert(this->units_.end(), src, src + done);
    }

    unsigned blockWrites_ = 0;
};

}  // namespace RUZ::flowtest

#endif
