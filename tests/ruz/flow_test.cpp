#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "flow_test_support.h"
#include "ruz/base/flow.h"

namespace RUZ {
namespace {

using namespace flowtest;
using namespace std::string_view_literals;

static_assert(unitKind<char>() == Unit8 && Unit8 == 1);
static_assert(unitKind<unsigned short>() == Unit16 && Unit16 == 2);
static_assert(unitKind<ULong>() == Unit32 && Unit32 == 4);

// Overrides nothing but the destructor, so every operation is a default.
class BareIFlow : public IFlow {
public:
    explicit BareIFlow(int unitKinds = AllUnitKinds) : IFlow(unitKinds) {}
    ~BareIFlow() override = default;

    using Flow::setAtStart;
    using Flow::setOpen;
};

class BareOFlow : public OFlow {
public:
    BareOFlow() : OFlow(AllUnitKinds) {}
    ~BareOFlow() override = default;
};

TEST(FlowTest, CloseAnswersTrueOnceAndThenRewindFails) {
    BareIFlow flow;
    EXPECT_TRUE(flow.isOpen());
    EXPECT_TRUE(flow.close());
    EXPECT_FALSE(flow.isOpen());
    EXPECT_TRUE(flow.isAtStart()) << "close leaves atStart alone";
    EXPECT_FALSE(flow.close());
    EXPECT_FALSE(flow.rewind());
    EXPECT_FALSE(flow.isReady());
}

TEST(FlowTest, RewindAndSetOpenMoveAtStart) {
    BareIFlow flow;
    flow.setAtStart(false);
    EXPECT_FALSE(flow.isAtStart());
    EXPECT_TRUE(flow.rewind());
    EXPECT_TRUE(flow.isAtStart());

    flow.setOpen(false);
    EXPECT_FALSE(flow.isOpen());
    EXPECT_FALSE(flow.isAtStart()) << "a flow that becomes closed is not at its start";
    flow.setOpen(true);
    EXPECT_TRUE(flow.isOpen());
    EXPECT_TRUE(flow.isAtStart());
}

TEST(FlowTest, SupportsTestsTheUnitKindMask) {
    BareIFlow all(AllUnitKinds);
    BareIFlow narrow(Unit8);
    EXPECT_EQ(all.unitKinds(), 7);
    EXPECT_TRUE(all.supports(Unit16));
    EXPECT_FALSE(narrow.supports(Unit16));
    EXPECT_TRUE(narrow.supports(Unit8 | Unit32));
    EXPECT_FALSE(all.supports(0));
}

// Supports and isReady consult the virtual unitKinds and isOpen.
class RedeclaredFlow : public BareIFlow {
public:
    RedeclaredFlow() : BareIFlow(Unit8) {}
    bool isOpen() const override { return false; }
    int unitKinds() const override { return Unit16; }
};

TEST(FlowTest, SupportsAndIsReadyAskTheVirtualOperations) {
    RedeclaredFlow flow;
    EXPECT_TRUE(flow.supports(Unit16));
    EXPECT_FALSE(flow.supports(Unit8));
    EXPECT_FALSE(flow.isReady());
}

template <class T>
class FlowDefaultsTest : public ::testing::Test {};
TYPED_TEST_SUITE(FlowDefaultsTest, UnitTypes);

TYPED_TEST(FlowDefaultsTest, BareInputFlowRefusesEveryReadAndBlockReadsPassTheRefusalOn) {
    using T = TypeParam;
    BareIFlow flow;
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported, [&] { readOne<T>(flow); }));

    T dest[4] = {};
    unsigned got = 99;
    EXPECT_TRUE(
        raises(SourceFile::flow, IOException::Unsupported, [&] { readBlock<T>(flow, 4, dest, got); }));
    EXPECT_EQ(got, 0u);

    String<T> line = stringOf<T>("kept");
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported, [&] { flow.readLine(line, false); }));
    EXPECT_EQ(line.length(), 0u) << "the line is emptied before the first read";
}

TYPED_TEST(FlowDefaultsTest, BareOutputFlowRefusesEveryWriteButFlushesAndWritesNothing) {
    using T = TypeParam;
    BareOFlow flow;
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported, [&] { writeOne<T>(flow, T('a')); }));

    const std::vector<T> src = unitsOf<T>("ab");
    unsigned done = 99;
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported,
                       [&] { writeBlock<T>(flow, 2, src.data(), done); }));
    EXPECT_EQ(done, 0u);

    flow.flush();
    const T empty[] = {T(0), T('x'), T(0)};
    EXPECT_TRUE(flow.writeText(empty));
    EXPECT_TRUE(flow.writeString(String<T>()));
}

template <class T>
class FlowReadTest : public ::testing::Test {};
TYPED_TEST_SUITE(FlowReadTest, UnitTypes);

TYPED_TEST(FlowReadTest, BlockReadOfNoUnitsReadsNothing) {
    using T = TypeParam;
    ScriptedIFlow<T> flow(unitsOf<T>("ab"));
    unsigned got = 99;
    readBlock<T>(flow, 0, nullptr, got);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(flow.unitReads(), 0u);
}

TYPED_TEST(FlowReadTest, BlockReadStopsNormallyAtTheEndOfTheFlow) {
    using T = TypeParam;
    ScriptedIFlow<T> flow(unitsOf<T>("ab"));
    std::vector<T> dest(5);
    unsigned got = 99;
    readBlock<T>(flow, 5, dest.data(), got);
    ASSERT_EQ(got, 2u);
    EXPECT_EQ(std::vector<T>(dest.begin(), dest.begin() + 2), unitsOf<T>("ab"));
}

TYPED_TEST(FlowReadTest, BlockReadPassesOtherFailuresOnFromTheirFirstRaiseSite) {
    using T = TypeParam;
    ScriptedIFlow<T> flow(unitsOf<T>("ab"), IOException::IoError);
    std::vector<T> dest(5);
    unsigned got = 99;
    const std::optional<IOException> e = raisedBy([&] { readBlock<T>(flow, 5, dest.data(), got); });
    ASSERT_TRUE(e && flow.lastRaised());
    EXPECT_EQ(e->code, IOException::IoError);
    EXPECT_EQ(e->file, flow.lastRaised()->file);
    EXPECT_EQ(e->line, flow.lastRaised()->line);
    EXPECT_EQ(got, 2u);
}

struct LineCase {
    std::string_view text;
    std::vector<std::pair<std::string_view, bool>> lines;  // content and result of each readLine
};

const LineCase lineCases[] = {
    {"ab\ncd"sv, {{"ab\n"sv, false}, {"cd"sv, true}, {""sv, true}}},
    {"ab\0cd\n"sv, {{"ab"sv, false}, {"cd\n"sv, false}, {""sv, true}}},
    {"\0\n\n"sv, {{""sv, false}, {"\n"sv, false}, {"\n"sv, false}, {""sv, true}}},
    {"a\r\nb"sv, {{"a\r\n"sv, false}, {"b"sv, true}}},
    {""sv, {{""sv, true}, {""sv, true}}},
};

TYPED_TEST(FlowReadTest, LineReadsStopAfterLineFeedsAtZeroUnitsAndAtTheEnd) {
    using T = TypeParam;
    for (const LineCase& c : lineCases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
        ScriptedIFlow<T> flow(unitsOf<T>(c.text));
        String<T> line = stringOf<T>("old");
        for (const auto& [content, atEnd] : c.lines) {
            EXPECT_EQ(flow.readLine(line, false), atEnd);
            EXPECT_EQ(contentOf(line), unitsOf<T>(content));
        }
    }
}

TYPED_TEST(FlowReadTest, LineReadAppendsWhenAsked) {
    using T = TypeParam;
    ScriptedIFlow<T> flow(unitsOf<T>("cd\nef"));
    String<T> line = stringOf<T>("ab");
    EXPECT_FALSE(flow.readLine(line, true));
    EXPECT_TRUE(flow.readLine(line, true));
    EXPECT_EQ(contentOf(line), unitsOf<T>("abcd\nef"));
}

template <class T>
class WideFlowReadTest : public ::testing::Test {};
TYPED_TEST_SUITE(WideFlowReadTest, WideUnitTypes);

TYPED_TEST(WideFlowReadTest, OnlyTheWholeUnitsZeroAndTenEndALine) {
    using T = TypeParam;
    const std::vector<T> text = {T(0x010A), T(0x0100), T(0x0A00), T(10)};
    ScriptedIFlow<T> flow(text);
    String<T> line;
    EXPECT_FALSE(flow.readLine(line, false));
    EXPECT_EQ(contentOf(line), text);
}

TYPED_TEST(FlowReadTest, LineReadPassesOtherFailuresOnAndKeepsWhatItRead) {
    using T = TypeParam;
    ScriptedIFlow<T> flow(unitsOf<T>("ab"), IOException::IoError);
    String<T> line;
    const std::optional<IOException> e = raisedBy([&] { flow.readLine(line, false); });
    ASSERT_TRUE(e && flow.lastRaised());
    EXPECT_EQ(e->code, IOException::IoError);
    EXPECT_EQ(e->line, flow.lastRaised()->line);
    EXPECT_EQ(contentOf(line), unitsOf<T>("ab"));
}

TEST(FlowReadTest, LineReadUsesTheReadOfTheStringsWidth) {
    ScriptedIFlow<char> flow(unitsOf<char>("ab\n"));
    String<unsigned short> wide;
    String<ULong> wider;
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported, [&] { flow.readLine(wide, false); }));
    EXPECT_TRUE(raises(SourceFile::flow, IOException::Unsupported, [&] { flow.readLine(wider, false); }));
    EXPECT_EQ(flow.unitReads(), 0u);
}

template <class T>
class FlowWriteTest : public ::testing::Test {};
TYPED_TEST_SUITE(FlowWriteTest, UnitTypes);

TYPED_TEST(FlowWriteTest, BlockWriteGoesUnitByUnit) {
    using T = TypeParam;
    CollectingOFlow<T> flow;
    const std::vector<T> src = unitsOf<T>("abc");
    unsigned done = 99;
    writeBlock<T>(flow, 3, src.data(), done);
    EXPECT_EQ(done, 3u);
    EXPECT_EQ(flow.units(), src);
    EXPECT_EQ(flow.unitWrites(), 3u);
}

TYPED_TEST(FlowWriteTest, FailingBlockWriteCountsTheUnitsWrittenBeforeIt) {
    using T = TypeParam;
    CollectingOFlow<T> flow(2);
    const std::vector<T> src = unitsOf<T>("abcde");
    unsigned done = 99;
    EXPECT_TRUE(
        raises(testFlowFile, IOException::WriteFailed, [&] { writeBlock<T>(flow, 5, src.data(), done); }));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(flow.units(), unitsOf<T>("ab"));
}

TYPED_TEST(FlowWriteTest, TextWriteStopsBeforeTheZeroUnit) {
    using T = TypeParam;
    CollectingOFlow<T> flow;
    const T text[] = {T('h'), T('i'), T(0), T('x'), T(0)};
    EXPECT_TRUE(flow.writeText(text));
    EXPECT_EQ(flow.units(), unitsOf<T>("hi"));
    EXPECT_TRUE(flow.writeText(text + 2));
    EXPECT_EQ(flow.units(), unitsOf<T>("hi"));
}

TYPED_TEST(FlowWriteTest, TextAndStringWritesAreOneBlockWriteAndReportAShortOne) {
    using T = TypeParam;
    BlockCollectingOFlow<T> flow(3);
    const T text[] = {T('h'), T('i'), T(0)};
    EXPECT_TRUE(flow.writeText(text));
    EXPECT_FALSE(flow.writeString(stringOf<T>("abc")));
    EXPECT_EQ(flow.blockWrites(), 2u);
    EXPECT_EQ(flow.unitWrites(), 0u);
    EXPECT_EQ(flow.units(), unitsOf<T>("hia"));
    EXPECT_FALSE(flow.writeText(text)) << "the full sink took none of the two units";
    EXPECT_TRUE(flow.writeText(text + 2));
    EXPECT_TRUE(flow.writeString(String<T>()));
}

}  // namespace
}  // namespace RUZ
