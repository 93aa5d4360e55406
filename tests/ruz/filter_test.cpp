#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <type_traits>
#include <vector>

#include "flow_test_support.h"
#include "ruz/base/fileflow.h"
#include "ruz/base/filter.h"

namespace RUZ {
namespace {

using namespace flowtest;

template <class T>
std::vector<T> prefix(const std::vector<T>& units, unsigned n) {
    return std::vector<T>(units.begin(), units.begin() + n);
}

// Calls `check(width)` with a null pointer of each unit type other than T.
template <class T, class Check>
void forEachOtherWidth(Check check) {
    if constexpr (!std::is_same_v<T, char>) check(static_cast<char*>(nullptr));
    if constexpr (!std::is_same_v<T, unsigned short>) check(static_cast<unsigned short*>(nullptr));
    if constexpr (!std::is_same_v<T, ULong>) check(static_cast<ULong*>(nullptr));
}

template <class T>
class FilterTest : public ::testing::Test {};
TYPED_TEST_SUITE(FilterTest, UnitTypes);

TYPED_TEST(FilterTest, UnconnectedFiltersRefuseEveryTransfer) {
    using T = TypeParam;
    IFilter input(AllUnitKinds, AllUnitKinds, nullptr);
    OFilter output(AllUnitKinds, AllUnitKinds, nullptr);
    for (Flow* filter : {static_cast<Flow*>(&input), static_cast<Flow*>(&output)}) {
        EXPECT_FALSE(filter->isOpen());
        EXPECT_FALSE(filter->isAtStart());
        EXPECT_FALSE(filter->isReady());
        EXPECT_FALSE(filter->close());
        EXPECT_FALSE(filter->rewind());
    }
    EXPECT_EQ(input.effectiveKinds(), 0);

    T units[2] = {T('a'), T('b')};
    unsigned count = 99;
    const int in = IOException::InputNotConnected;
    const int out = IOException::OutputNotConnected;
    EXPECT_TRUE(raises(SourceFile::filter, in, [&] { readOne<T>(input); }));
    EXPECT_TRUE(raises(SourceFile::filter, in, [&] { readBlock<T>(input, 2, units, count); }));
    EXPECT_TRUE(raises(SourceFile::filter, out, [&] { writeOne<T>(output, T('a')); }));
    EXPECT_TRUE(raises(SourceFile::filter, out, [&] { writeBlock<T>(output, 2, units, count); }));
    EXPECT_TRUE(raises(SourceFile::filter, out, [&] { output.flush(); }));
    EXPECT_EQ(count, 99u);
}

TYPED_TEST(FilterTest, BlockTransfersAreOneBlockCallOnTheInnerFlow) {
    using T = TypeParam;
    const std::vector<T> text = unitsOf<T>("abcdefgh");
    ChunkedIFlow<T> source(text, 1, BlockEnd::ReturnsEmpty, 3);
    IFilter input(AllUnitKinds, AllUnitKinds, &source);
    std::vector<T> dest(8);
    unsigned got = 99;
    readBlock<T>(input, 8, dest.data(), got);
    EXPECT_EQ(source.blockReads(), 1u);
    EXPECT_EQ(source.unitReads(), 0u);
    ASSERT_GE(got, 1u);
    ASSERT_LE(got, 3u) << "a short block comes back short";
    EXPECT_EQ(prefix(dest, got), prefix(text, got));

    BlockCollectingOFlow<T> sink;
    OFilter output(AllUnitKinds, AllUnitKinds, &sink);
    const std::vector<T> src = unitsOf<T>("hello");
    unsigned done = 99;
    writeBlock<T>(output, 5, src.data(), done);
    EXPECT_EQ(done, 5u);
    EXPECT_EQ(sink.blockWrites(), 1u);
    EXPECT_EQ(sink.unitWrites(), 0u);
    EXPECT_EQ(sink.units(), src);
}

TYPED_TEST(FilterTest, InnerFailuresPassOnUnchangedAndLeaveAtStart) {
    using T = TypeParam;
    ScriptedIFlow<T> empty(std::vector<T>{});
    IFilter input(AllUnitKinds, AllUnitKinds, &empty);
    const std::optional<IOException> end = raisedBy([&] { readOne<T>(input); });
    ASSERT_TRUE(end && empty.lastRaised());
    EXPECT_EQ(end->code, IOException::EndOfFlow);
    EXPECT_EQ(end->file, empty.lastRaised()->file);
    EXPECT_EQ(end->line, empty.lastRaised()->line);
    EXPECT_TRUE(input.isAtStart());

    ChunkedIFlow<T> raising(std::vector<T>{}, 1, BlockEnd::RaisesEndOfFlow);
    input.attach(&raising);
    T dest[3];
    unsigned got = 99;
    EXPECT_TRUE(raises(testFlowFile, IOException::EndOfFlow, [&] { readBlock<T>(input, 3, dest, got); }));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(input.isAtStart());

    CollectingOFlow<T> full(0);
    OFilter output(AllUnitKinds, AllUnitKinds, &full);
    EXPECT_TRUE(raises(testFlowFile, IOException::WriteFailed, [&] { writeOne<T>(output, T('a')); }));
    EXPECT_TRUE(output.isAtStart());
}

TYPED_TEST(FilterTest, SuccessfulTransfersLeaveTheStartButFlushDoesNot) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("ab"));
    IFilter input(AllUnitKinds, AllUnitKinds, &source);
    EXPECT_TRUE(input.isAtStart());
    EXPECT_EQ(readOne<T>(input), T('a'));
    EXPECT_FALSE(input.isAtStart());
    EXPECT_TRUE(input.rewind());
    EXPECT_TRUE(input.isAtStart());
    EXPECT_EQ(readOne<T>(input), T('a')) << "the inner flow was rewound too";

    CollectingOFlow<T> sink;
    OFilter output(AllUnitKinds, AllUnitKinds, &sink);
    output.flush();
    EXPECT_EQ(sink.flushes(), 1u);
    EXPECT_TRUE(output.isAtStart());
    writeOne<T>(output, T('z'));
    EXPECT_FALSE(output.isAtStart());
    EXPECT_EQ(sink.units(), unitsOf<T>("z"));
}

TEST(FilterTest, RewindAnswersWhetherTheInnerFlowRewound) {
    ScriptedIFlow<char> source(unitsOf<char>("ab"));
    IFilter input(Unit8, Unit8, &source);
    source.read8();
    input.read8();
    source.close();
    EXPECT_FALSE(input.rewind());
    EXPECT_TRUE(input.isAtStart()) << "the filter itself rewinds before asking the inner flow";

    CollectingOFlow<char> sink;
    OFilter output(Unit8, Unit8, &sink);
    output.write8('a');
    ASSERT_FALSE(output.isAtStart());
    EXPECT_TRUE(output.rewind());
    EXPECT_TRUE(output.isAtStart());
    output.write8('b');
    sink.close();
    EXPECT_FALSE(output.rewind());
    EXPECT_TRUE(output.isAtStart()) << "the filter itself rewinds before asking the inner flow";
}

TEST(FilterTest, AttachConnectsAndDisconnectsWithoutClosing) {
    ScriptedIFlow<char> first(unitsOf<char>("a"));
    ScriptedIFlow<char> second(unitsOf<char>("b"));
    IFilter input(Unit8, Unit8, &first);
    input.read8();
    input.attach(&second);
    EXPECT_TRUE(first.isOpen());
    EXPECT_TRUE(input.isAtStart());
    EXPECT_EQ(input.read8(), 'b');
    input.attach(nullptr);
    EXPECT_FALSE(input.isOpen());
    EXPECT_TRUE(input.isAtStart()) << "an input filter is at its start after any attach";

    CollectingOFlow<char> sink;
    OFilter output(Unit8, Unit8, nullptr);
    output.attach(&sink);
    EXPECT_TRUE(output.isOpen());
    EXPECT_TRUE(output.isAtStart());
    output.attach(nullptr);
    EXPECT_FALSE(output.isOpen());
    EXPECT_FALSE(output.isAtStart()) << "an output filter that disconnects is not at its start";
}

TEST(FilterTest, CloseAndDestructionLeaveTheInnerFlowToItsOwner) {
    ScriptedIFlow<char> source(unitsOf<char>("ab"));
    CollectingOFlow<char> sink;
    {
        IFilter input(Unit8, Unit8, &source);
        OFilter output(Unit8, Unit8, &sink);
        EXPECT_TRUE(input.close());
        EXPECT_FALSE(input.close());
        EXPECT_TRUE(output.close());
        EXPECT_FALSE(output.isOpen());
    }
    {
        IFilter stillConnected(Unit8, Unit8, &source);
    }
    EXPECT_TRUE(source.isOpen());
    EXPECT_EQ(source.read8(), 'a');
    EXPECT_TRUE(sink.isOpen());
    sink.write8('x');
}

TEST(FilterTest, ReadinessAsksTheWholeChain) {
    CollectingOFlow<char> narrow(~0u, Unit8);
    FileOFlow file;
    TOFilter<unsigned short> overNarrow(Unit16, &narrow);
    TOFilter<unsigned short> overFile(Unit16, &file);
    EXPECT_FALSE(overNarrow.isReady()) << "the inner flow offers no 16-bit units";
    EXPECT_FALSE(overFile.isReady()) << "the file flow is not open";

    file.attach(stdout);
    EXPECT_TRUE(overFile.isReady());
    OFilter upper(Unit16, Unit16, &overFile);
    EXPECT_TRUE(upper.isReady());
    file.close();
    EXPECT_FALSE(upper.isReady());
}

TEST(FilterTest, EffectiveKindsAreTheNeededWidthsTheInnerFlowOffers) {
    FileIFlow file;
    IFilter bytes(AllUnitKinds, Unit8, &file);
    IFilter wide(AllUnitKinds, Unit16 | Unit32, &bytes);
    EXPECT_EQ(bytes.filterKinds(), Unit8);
    EXPECT_EQ(bytes.effectiveKinds(), Unit8);
    EXPECT_EQ(wide.effectiveKinds(), Unit16 | Unit32);
    EXPECT_FALSE(bytes.isReady()) << "the file flow is not open";

    IFilter overBytes(AllUnitKinds, Unit16, nullptr);
    ScriptedIFlow<char> source(unitsOf<char>("a"));
    overBytes.attach(&source);
    EXPECT_EQ(overBytes.effectiveKinds(), 0);
    EXPECT_FALSE(overBytes.isReady());

    bytes.close();
    EXPECT_EQ(bytes.effectiveKinds(), 0);
}

template <class T>
class TypedFilterTest : public ::testing::Test {};
TYPED_TEST_SUITE(TypedFilterTest, UnitTypes);

TYPED_TEST(TypedFilterTest, OwnWidthIsForwardedAndTheOthersAreRefused) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("abcd"));
    TIFilter<T> input(unitKind<T>(), &source);
    BlockCollectingOFlow<T> sink;
    TOFilter<T> output(unitKind<T>(), &sink);
    EXPECT_EQ(input.unitKinds(), unitKind<T>());
    EXPECT_EQ(output.unitKinds(), unitKind<T>());

    forEachOtherWidth<T>([&]<class U>(U*) {
        U units[1] = {U('a')};
        unsigned count = 99;
        const int refused = IOException::Unsupported;
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { readOne<U>(input); }));
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { readBlock<U>(input, 1, units, count); }));
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { writeOne<U>(output, U('a')); }));
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { writeBlock<U>(output, 1, units, count); }));
        EXPECT_EQ(count, 99u);
    });
    EXPECT_TRUE(input.isAtStart());
    EXPECT_TRUE(output.isAtStart());

    EXPECT_EQ(readOne<T>(input), T('a'));
    EXPECT_EQ(input.readUnit(), T('b'));
    T dest[2];
    unsigned got = 99;
    input.readUnits(2, dest, got);
    EXPECT_EQ(std::vector<T>(dest, dest + got), unitsOf<T>("cd"));

    output.writeUnit(T('x'));
    const std::vector<T> src = unitsOf<T>("yz");
    unsigned done = 99;
    output.writeUnits(2, src.data(), done);
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(sink.units(), unitsOf<T>("xyz"));
    EXPECT_EQ(sink.blockWrites(), 1u);
}

TYPED_TEST(TypedFilterTest, TextWritesReachTheInnerFlowAsOneBlock) {
    using T = TypeParam;
    BlockCollectingOFlow<T> sink;
    TOFilter<T> output(unitKind<T>(), &sink);
    const T text[] = {T('h'), T('i'), T(0)};
    EXPECT_TRUE(output.writeText(text));
    EXPECT_TRUE(output.writeString(stringOf<T>("!")));
    EXPECT_EQ(sink.units(), unitsOf<T>("hi!"));
    EXPECT_EQ(sink.blockWrites(), 2u);
    EXPECT_FALSE(output.isAtStart());
}

template <class T>
class PushbackIFilterTest : public ::testing::Test {};
TYPED_TEST_SUITE(PushbackIFilterTest, UnitTypes);

TYPED_TEST(PushbackIFilterTest, PushedBackUnitsAreReadFirstLastPushedFirst) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("xy"));
    PushbackIFilter<T> filter(&source);
    filter.pushBack(T('a'));
    filter.pushBack(T('b'));
    EXPECT_EQ(filter.pushedBackCount(), 2u);
    EXPECT_EQ(readOne<T>(filter), T('b'));
    EXPECT_EQ(filter.readUnit(), T('a'));
    EXPECT_TRUE(filter.isAtStart()) << "pushed-back units do not move the filter from its start";
    EXPECT_EQ(filter.readUnit(), T('x'));
    EXPECT_FALSE(filter.isAtStart());
    EXPECT_EQ(readOne<T>(filter), T('y'));
    EXPECT_EQ(filter.pushedBackCount(), 0u);
    EXPECT_TRUE(raises(testFlowFile, IOException::EndOfFlow, [&] { filter.readUnit(); }));
}

TYPED_TEST(PushbackIFilterTest, TheStackDoublesWhenFull) {
    using T = TypeParam;
    PushbackIFilter<T> filter(nullptr);
    EXPECT_EQ(filter.pushBackCapacity(), 16u);
    for (unsigned i = 0; i < 16; ++i) filter.pushBack(T('a' + i));
    EXPECT_EQ(filter.pushBackCapacity(), 16u);
    filter.pushBack(T('q'));
    EXPECT_EQ(filter.pushBackCapacity(), 32u);
    EXPECT_EQ(filter.pushedBackCount(), 17u);
    EXPECT_TRUE(raises(SourceFile::filter, IOException::InputNotConnected, [&] { filter.readUnit(); }))
        << "reads need an inner flow even while units wait";

    ScriptedIFlow<T> source(std::vector<T>{});
    filter.attach(&source);
    EXPECT_EQ(filter.pushedBackCount(), 17u) << "attaching keeps the units";
    for (unsigned i = 17; i-- > 0;) EXPECT_EQ(filter.readUnit(), T('a' + i));
    EXPECT_EQ(filter.pushBackCapacity(), 32u) << "the stack never shrinks";
}

TYPED_TEST(PushbackIFilterTest, BlockReadsGoPastPushedBackUnits) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("xyzw"));
    PushbackIFilter<T> filter(&source);
    filter.pushBack(T('a'));
    T dest[2];
    unsigned got = 99;
    readBlock<T>(filter, 2, dest, got);
    EXPECT_EQ(std::vector<T>(dest, dest + got), unitsOf<T>("xy"));
    filter.readUnits(1, dest, got);
    EXPECT_EQ(std::vector<T>(dest, dest + got), unitsOf<T>("z"));
    EXPECT_EQ(readOne<T>(filter), T('a'));
    EXPECT_EQ(readOne<T>(filter), T('w'));
}

TYPED_TEST(PushbackIFilterTest, RewindDiscardsPushedBackUnitsAndAnswersForTheInnerFlow) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("xy"));
    PushbackIFilter<T> filter(&source);
    readOne<T>(filter);
    filter.pushBack(T('a'));
    EXPECT_TRUE(filter.rewind());
    EXPECT_EQ(filter.pushedBackCount(), 0u);
    EXPECT_EQ(readOne<T>(filter), T('x'));

    filter.pushBack(T('a'));
    source.close();
    EXPECT_FALSE(filter.rewind());
    EXPECT_EQ(filter.pushedBackCount(), 0u);

    filter.pushBack(T('a'));
    filter.close();
    EXPECT_FALSE(filter.rewind());
    EXPECT_EQ(filter.pushedBackCount(), 0u) << "discarded also when not connected";
}

TYPED_TEST(PushbackIFilterTest, OtherWidthsAreRefusedAlsoByLineReads) {
    using T = TypeParam;
    ScriptedIFlow<T> source(unitsOf<T>("ab\n"));
    PushbackIFilter<T> filter(&source);
    filter.pushBack(T('a'));
    forEachOtherWidth<T>([&]<class U>(U*) {
        U dest[2];
        unsigned got = 99;
        String<U> line;
        const int refused = IOException::Unsupported;
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { readOne<U>(filter); }));
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { readBlock<U>(filter, 2, dest, got); }));
        EXPECT_TRUE(raises(SourceFile::filter, refused, [&] { filter.readLine(line, false); }));
    });
    EXPECT_EQ(filter.pushedBackCount(), 1u);
    String<T> line;
    EXPECT_FALSE(filter.readLine(line, false));
    EXPECT_EQ(contentOf(line), unitsOf<T>("aab\n"));
}

// Reads a text through a push-back filter over a chunking flow, mixing unit
// reads, reads that are pushed back again and block reads of random lengths;
// whatever the mix, the units come out as a straight read gives them.
TYPED_TEST(PushbackIFilterTest, MixedReadsGiveTheTextOfAStraightRead) {
    using T = TypeParam;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<T> text = randomText<T>(300, seed);
        ChunkedIFlow<T> source(text, seed, seed % 2 ? BlockEnd::ReturnsEmpty : BlockEnd::RaisesEndOfFlow);
        PushbackIFilter<T> filter(&source);
        std::mt19937 random(seed);
        std::uniform_int_distribution<unsigned> pick(0, 5);
        std::vector<T> read;
        for (bool ended = false; !ended;) {
            const unsigned choice = pick(random);
            std::vector<T> taken;
            try {
                if (choice == 0 && filter.pushedBackCount() == 0) {
                    std::vector<T> block(1 + pick(random) * 3);
                    unsigned got = 0;
                    try {
                        filter.readUnits(static_cast<unsigned>(block.size()), block.data(), got);
                    } catch (const IOException&) {
                        read.insert(read.end(), block.begin(), block.begin() + got);
                        throw;
                    }
                    read.insert(read.end(), block.begin(), block.begin() + got);
                    ended = got == 0;
                } else if (choice <= 2) {
                    for (unsigned i = 0; i <= choice; ++i) taken.push_back(filter.readUnit());
                    for (auto u = taken.rbegin(); u != taken.rend(); ++u) filter.pushBack(*u);
                } else {
                    read.push_back(filter.readUnit());
                }
            } catch (const IOException& e) {
                ASSERT_EQ(e.code, IOException::EndOfFlow);
                for (auto u = taken.rbegin(); u != taken.rend(); ++u) filter.pushBack(*u);
                ended = filter.pushedBackCount() == 0;
            }
        }
        EXPECT_EQ(read, text);
    }
}

// Line reads through a push-back filter with units waiting on its stack give
// the lines of a straight line read of the same text.
TYPED_TEST(PushbackIFilterTest, LineReadsOverPushedBackUnitsGiveTheLinesOfAStraightRead) {
    using T = TypeParam;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<T> text = randomText<T>(200, seed);
        ScriptedIFlow<T> straight(text);
        ChunkedIFlow<T> source(text, seed);
        PushbackIFilter<T> filter(&source);
        std::mt19937 random(seed);
        std::uniform_int_distribution<unsigned> lookAhead(0, 4);
        String<T> expected;
        String<T> line;
        bool atEnd = false;
        while (!atEnd) {
            std::vector<T> taken;
            const std::size_t waiting = filter.pushedBackCount() + source.remaining();
            for (std::size_t n = std::min<std::size_t>(lookAhead(random), waiting); n > 0; --n)
                taken.push_back(filter.readUnit());
            for (auto u = taken.rbegin(); u != taken.rend(); ++u) filter.pushBack(*u);
            atEnd = straight.readLine(expected, false);
            ASSERT_EQ(filter.readLine(line, false), atEnd);
            ASSERT_EQ(contentOf(line), contentOf(expected));
        }
    }
}

// A chain of filters passes the chunks of its source through unchanged.
TYPED_TEST(PushbackIFilterTest, ChainsOfFiltersPassTheTextThroughWhateverTheChunking) {
    using T = TypeParam;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<T> text = randomText<T>(500, seed);
        ChunkedIFlow<T> source(text, seed, seed % 2 ? BlockEnd::ReturnsEmpty : BlockEnd::RaisesEndOfFlow);
        IFilter untyped(AllUnitKinds, unitKind<T>(), &source);
        TIFilter<T> typed(unitKind<T>(), &untyped);
        EXPECT_EQ(drainByBlocks<T>(typed, seed + 100), text);
        EXPECT_EQ(source.unitReads(), 0u);
    }
}

}  // namespace
}  // namespace RUZ
