#include <gtest/gtest.h>

#include <vector>

#include "flow_test_support.h"
#include "ruz/base/strflow.h"

namespace RUZ {
namespace {

using namespace flowtest;

template <class T>
class StringIFlowTest : public ::testing::Test {};
TYPED_TEST_SUITE(StringIFlowTest, UnitTypes);

TYPED_TEST(StringIFlowTest, ReadsEachUnitThenRaisesEndOfFlow) {
    using T = TypeParam;
    const String<T> s = stringOf<T>("ab");
    StringIFlow<T> flow(&s);
    EXPECT_EQ(flow.unitKinds(), unitKind<T>());
    EXPECT_EQ(readOne<T>(flow), T('a'));
    EXPECT_EQ(readOne<T>(flow), T('b'));
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::EndOfFlow, [&] { readOne<T>(flow); }));
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::EndOfFlow, [&] { readOne<T>(flow); }));
}

TYPED_TEST(StringIFlowTest, HandsOutUnitsOfEveryValueUnchanged) {
    using T = TypeParam;
    const std::vector<T> units = {T(0), T(10), T(~T(0)), T(0x80)};
    const String<T> s(units.data(), static_cast<unsigned>(units.size()));
    StringIFlow<T> flow(&s);
    EXPECT_EQ(drainByUnits<T>(flow), units);
}

TYPED_TEST(StringIFlowTest, AtStartFollowsThePositionAndRewindReturnsToTheFirstUnit) {
    using T = TypeParam;
    const String<T> s = stringOf<T>("ab");
    StringIFlow<T> flow(&s);
    EXPECT_TRUE(flow.isAtStart());
    readOne<T>(flow);
    EXPECT_FALSE(flow.isAtStart());
    readOne<T>(flow);
    EXPECT_TRUE(raisedBy([&] { readOne<T>(flow); }));
    EXPECT_TRUE(flow.rewind());
    EXPECT_TRUE(flow.isAtStart());
    EXPECT_EQ(readOne<T>(flow), T('a'));
}

TYPED_TEST(StringIFlowTest, EmptyStringIsAtStartAndEndsAtOnce) {
    using T = TypeParam;
    const String<T> s;
    StringIFlow<T> flow(&s);
    EXPECT_TRUE(flow.isOpen());
    EXPECT_TRUE(flow.isAtStart());
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::EndOfFlow, [&] { readOne<T>(flow); }));
    EXPECT_TRUE(flow.isAtStart());
    String<T> line = stringOf<T>("old");
    EXPECT_TRUE(flow.readLine(line, false));
    EXPECT_EQ(line.length(), 0u);
}

TYPED_TEST(StringIFlowTest, BlockAndLineReadsEndNormallyAtTheEndOfTheString) {
    using T = TypeParam;
    const String<T> abc = stringOf<T>("abc");
    StringIFlow<T> blocks(&abc);
    std::vector<T> dest(5);
    unsigned got = 99;
    readBlock<T>(blocks, 5, dest.data(), got);
    ASSERT_EQ(got, 3u);
    EXPECT_EQ(std::vector<T>(dest.begin(), dest.begin() + 3), unitsOf<T>("abc"));

    const String<T> lines = stringOf<T>("ab\nc");
    StringIFlow<T> flow(&lines);
    String<T> line;
    EXPECT_FALSE(flow.readLine(line, false));
    EXPECT_EQ(contentOf(line), unitsOf<T>("ab\n"));
    EXPECT_TRUE(flow.readLine(line, false));
    EXPECT_EQ(contentOf(line), unitsOf<T>("c"));
}

TYPED_TEST(StringIFlowTest, FlowOverNullIsNotOpen) {
    using T = TypeParam;
    StringIFlow<T> flow(nullptr);
    EXPECT_FALSE(flow.isOpen());
    EXPECT_FALSE(flow.isAtStart());
    EXPECT_FALSE(flow.rewind());
    EXPECT_FALSE(flow.close());
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::NotOpen, [&] { readOne<T>(flow); }));
}

TYPED_TEST(StringIFlowTest, ReadsOfTheOtherWidthsAreRefusedOpenOrNot) {
    using T = TypeParam;
    const String<T> s = stringOf<T>("ab");
    StringIFlow<T> open(&s);
    StringIFlow<T> closed(nullptr);
    for (IFlow* flow : {static_cast<IFlow*>(&open), static_cast<IFlow*>(&closed)}) {
        if constexpr (!std::is_same_v<T, char>) {
            EXPECT_TRUE(raises(SourceFile::strflow, IOException::Unsupported, [&] { flow->read8(); }));
        }
        if constexpr (!std::is_same_v<T, unsigned short>) {
            EXPECT_TRUE(raises(SourceFile::strflow, IOException::Unsupported, [&] { flow->read16(); }));
        }
        if constexpr (!std::is_same_v<T, ULong>) {
            EXPECT_TRUE(raises(SourceFile::strflow, IOException::Unsupported, [&] { flow->read32(); }));
        }
    }
    EXPECT_EQ(readOne<T>(open), T('a')) << "refused reads do not move the position";
}

TEST(StringIFlowTest, RefusalPassesThroughBlockAndLineReads) {
    const String<char> s = stringOf<char>("ab\n");
    StringIFlow<char> flow(&s);
    unsigned short dest[2];
    unsigned got = 99;
    EXPECT_TRUE(
        raises(SourceFile::strflow, IOException::Unsupported, [&] { flow.readBlock16(2, dest, got); }));
    String<ULong> line;
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::Unsupported, [&] { flow.readLine(line, false); }));
}

TYPED_TEST(StringIFlowTest, UnitsAppendedAfterTheEndAreReadNext) {
    using T = TypeParam;
    String<T> s = stringOf<T>("ab");
    StringIFlow<T> flow(&s);
    EXPECT_EQ(drainByUnits<T>(flow), unitsOf<T>("ab"));
    s.append(T('c'));
    EXPECT_EQ(readOne<T>(flow), T('c'));
}

TYPED_TEST(StringIFlowTest, CloseLeavesTheStringForAnotherFlow) {
    using T = TypeParam;
    const String<T> s = stringOf<T>("ab");
    StringIFlow<T> first(&s);
    readOne<T>(first);
    EXPECT_TRUE(first.close());
    EXPECT_FALSE(first.isOpen());
    EXPECT_FALSE(first.close());
    EXPECT_FALSE(first.rewind());
    EXPECT_TRUE(raises(SourceFile::strflow, IOException::NotOpen, [&] { readOne<T>(first); }));

    EXPECT_EQ(contentOf(s), unitsOf<T>("ab"));
    StringIFlow<T> second(&s);
    EXPECT_EQ(drainByUnits<T>(second), unitsOf<T>("ab"));
}

}  // namespace
}  // namespace RUZ
