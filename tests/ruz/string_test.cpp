#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ruz/base/string.h"

namespace RUZ {
namespace {

template <class T>
std::vector<T> units(const char* text) {
    std::vector<T> v;
    for (const char* p = text; *p; ++p) v.push_back(static_cast<T>(static_cast<unsigned char>(*p)));
    return v;
}

// Zero-terminated copy of an 8-bit text in unit type T.
template <class T>
std::vector<T> text(const char* t) {
    std::vector<T> v = units<T>(t);
    v.push_back(0);
    return v;
}

template <class T>
std::vector<T> contentOf(const SubString<T>& s) {
    return std::vector<T>(s.data(), s.data() + s.length());
}

template <class T>
class StringTest : public ::testing::Test {
protected:
    static String<T> make(const char* t) { return String<T>(text<T>(t).data()); }
    static std::vector<T> u(const char* t) { return units<T>(t); }
};

using UnitTypes = ::testing::Types<char, unsigned short, ULong>;
TYPED_TEST_SUITE(StringTest, UnitTypes);

TYPED_TEST(StringTest, DefaultStringHasTenUnitsAndGrowsExactlyOnTheEleventh) {
    String<TypeParam> s;
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.capacity(), 10u);
    for (int i = 0; i < 10; ++i) s.append(TypeParam('a' + i));
    EXPECT_EQ(s.capacity(), 10u);
    s.append(TypeParam('k'));
    EXPECT_EQ(s.capacity(), 11u);
    EXPECT_EQ(contentOf(s), this->u("abcdefghijk"));
}

TYPED_TEST(StringTest, ConstructorsSizeTheBlockExactly) {
    String<TypeParam> abc = this->make("abc");
    EXPECT_EQ(abc.length(), 3u);
    EXPECT_EQ(abc.capacity(), 3u);
    abc.append(TypeParam('d'));
    EXPECT_EQ(abc.capacity(), 4u);
    EXPECT_EQ(contentOf(abc), this->u("abcd"));

    const std::vector<TypeParam> five = this->u("vwxyz");
    String<TypeParam> counted(five.data(), 3);
    EXPECT_EQ(contentOf(counted), this->u("vwx"));
    EXPECT_EQ(counted.capacity(), 3u);

    String<TypeParam> empty(five.data(), 0);
    EXPECT_EQ(empty.length(), 0u);
    EXPECT_EQ(empty.capacity(), 0u);
    empty.append(TypeParam('q'));
    EXPECT_EQ(contentOf(empty), this->u("q"));
}

TYPED_TEST(StringTest, NullSourcesGiveTheDefaultString) {
    String<TypeParam> counted(static_cast<const TypeParam*>(nullptr), 5);
    EXPECT_EQ(counted.length(), 0u);
    EXPECT_EQ(counted.capacity(), 10u);
    String<TypeParam> zeroTerminated(static_cast<const TypeParam*>(nullptr));
    EXPECT_EQ(zeroTerminated.length(), 0u);
    EXPECT_EQ(zeroTerminated.capacity(), 10u);

    String<TypeParam> assigned = this->make("abc");
    assigned.assign(static_cast<const TypeParam*>(nullptr));
    EXPECT_EQ(assigned.length(), 0u);
    EXPECT_EQ(assigned.capacity(), 3u);
}

TYPED_TEST(StringTest, FrontRemovalMovesNothingAndAppendSlidesBeforeGrowing) {
    String<TypeParam> s = this->make("abcdef");
    const TypeParam* third = s.data() + 2;
    EXPECT_TRUE(s.remove(0, 2));
    EXPECT_EQ(s.blockOffset(), 2u);
    EXPECT_EQ(s.data(), third);
    EXPECT_EQ(contentOf(s), this->u("cdef"));

    s.append(TypeParam('g'));
    EXPECT_EQ(contentOf(s), this->u("cdefg"));
    EXPECT_EQ(s.blockOffset(), 1u);
    EXPECT_EQ(s.capacity(), 6u);
}

TYPED_TEST(StringTest, RemoveMovesTheShorterSide) {
    struct Case {
        unsigned pos, count;
        const char* expected;
        unsigned offsetAfter;
    };
    const Case cases[] = {
        {4, 10, "abcd", 0},   // tail dropped
        {1, 1, "acdef", 1},   // one unit before the gap moves
        {3, 1, "abcef", 0},   // two units after the gap move
        {2, 2, "abef", 2},    // tie: the front moves
        {0, 6, "", 6},        // whole content dropped from the front
        {0, 9, "", 0},        // more than the content: the tail rule empties it
        {6, 1, "abcdef", 0},  // position past the end
        {0, 0, "abcdef", 0},  // nothing to remove
    };
    for (const Case& c : cases) {
        String<TypeParam> s = this->make("abcdef");
        EXPECT_TRUE(s.remove(c.pos, c.count));
        EXPECT_EQ(contentOf(s), this->u(c.expected)) << "remove(" << c.pos << ", " << c.count << ")";
        EXPECT_EQ(s.blockOffset(), c.offsetAfter) << "remove(" << c.pos << ", " << c.count << ")";
    }
}

TYPED_TEST(StringTest, RemovePastTheEndOfAnOffsetContentChangesNothing) {
    String<TypeParam> s = this->make("abcdef");
    s.remove(0, 3);
    s.remove(3, 1);
    s.remove(7, 2);
    EXPECT_EQ(contentOf(s), this->u("def"));
    EXPECT_EQ(s.blockOffset(), 3u);
}

// The three append paths: room after the content, room at the front only,
// and growing the block. Appending a string to itself doubles it in each.
TYPED_TEST(StringTest, AppendToItselfDoublesOnEveryPath) {
    String<TypeParam> roomAfter = this->make("abc");
    roomAfter.append(TypeParam('x'));
    roomAfter.remove(3, 1);
    String<TypeParam> big;  // 10 units
    big.assign(roomAfter);
    ASSERT_LT(big.length() * 2, big.capacity());
    big.append(big);
    EXPECT_EQ(contentOf(big), this->u("abcabc"));

    String<TypeParam> roomInFront = this->make("zzzzabc");
    roomInFront.remove(0, 4);
    ASSERT_GT(roomInFront.blockOffset(), roomInFront.length());
    roomInFront.append(roomInFront);
    EXPECT_EQ(contentOf(roomInFront), this->u("abcabc"));
    EXPECT_EQ(roomInFront.capacity(), 7u);

    String<TypeParam> growing = this->make("abc");
    growing.append(growing);
    EXPECT_EQ(contentOf(growing), this->u("abcabc"));
    EXPECT_EQ(growing.capacity(), 6u);
}

TYPED_TEST(StringTest, AppendSubstringFillingTheBlockExactlyGrowsIt) {
    String<TypeParam> s;  // 10 units
    String<TypeParam> seven = this->make("abcdefg");
    String<TypeParam> three = this->make("hij");
    s.append(seven);
    s.append(three);  // end + n == capacity is not "strictly less": grows to exactly 10
    EXPECT_EQ(contentOf(s), this->u("abcdefghij"));
    EXPECT_EQ(s.capacity(), 10u);
}

// Which append path a substring takes decides where the content ends up in
// the block: room after the content is used only while end + n stays strictly
// below the capacity, and room in front only when the offset strictly
// exceeds n; otherwise the block grows to exactly end + n units.
TYPED_TEST(StringTest, SubstringAppendPathsUseStrictComparisons) {
    struct Case {
        const char* what;
        const char* initial;
        unsigned capacity;   // of the block holding `initial`
        unsigned dropFront;  // units removed from the front before appending
        const char* appended;
        const char* expected;
        unsigned offsetAfter;
        unsigned capacityAfter;
    };
    const Case cases[] = {
        {"room after the content", "abcd", 10, 0, "xy", "abcdxy", 0, 10},
        {"end + n equals the capacity, room in front", "zzzzabcd", 10, 4, "xy", "abcdxy", 2, 10},
        {"end + n equals the capacity, no room in front", "abcdefgh", 10, 0, "xy", "abcdefghxy", 0, 10},
        {"offset equals n", "abcdef", 6, 2, "xy", "cdefxy", 2, 8},
        {"offset exceeds n", "abcdef", 6, 3, "xy", "defxy", 1, 6},
    };
    for (const Case& c : cases) {
        String<TypeParam> s;
        if (c.capacity == 10) s.assign(text<TypeParam>(c.initial).data());
        else s = this->make(c.initial);
        ASSERT_EQ(s.capacity(), c.capacity) << c.what;
        s.remove(0, c.dropFront);
        s.append(this->make(c.appended));
        EXPECT_EQ(contentOf(s), this->u(c.expected)) << c.what;
        EXPECT_EQ(s.blockOffset(), c.offsetAfter) << c.what;
        EXPECT_EQ(s.capacity(), c.capacityAfter) << c.what;
    }
}

TYPED_TEST(StringTest, AssignAndClearKeepTheBlock) {
    String<TypeParam> s = this->make("abcdefgh");
    s.assign(text<TypeParam>("xy").data());
    EXPECT_EQ(contentOf(s), this->u("xy"));
    EXPECT_EQ(s.capacity(), 8u);
    String<TypeParam> longer = this->make("0123456789ab");
    s.assign(longer);
    EXPECT_EQ(contentOf(s), this->u("0123456789ab"));
    EXPECT_EQ(s.capacity(), 12u);
    s.clear();
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.capacity(), 12u);
}

TYPED_TEST(StringTest, UnitsAreNeverInterpreted) {
    const TypeParam raw[] = {TypeParam(0x7f), TypeParam(~TypeParam(0)), TypeParam(1), 0, TypeParam(9)};
    String<TypeParam> s(raw, 5);
    EXPECT_EQ(s.length(), 5u);
    EXPECT_EQ(s.data()[1], TypeParam(~TypeParam(0)));
    EXPECT_EQ(s.data()[3], TypeParam(0));
    EXPECT_EQ(s.endData(), s.data() + 5);
    EXPECT_EQ(s.dataAt(4), s.data() + 4);
    EXPECT_EQ(s.offset(), 0u);
}

TYPED_TEST(StringTest, CopiesAndMovesOwnTheirBlocks) {
    String<TypeParam> original = this->make("copy me");
    String<TypeParam> copy(original);
    original.clear();
    original.append(TypeParam('x'));
    EXPECT_EQ(contentOf(copy), this->u("copy me"));
    String<TypeParam> moved(std::move(copy));
    EXPECT_EQ(contentOf(moved), this->u("copy me"));
    copy = moved;
    EXPECT_EQ(contentOf(copy), this->u("copy me"));
    EXPECT_NE(copy.data(), moved.data());
    moved = std::move(original);
    EXPECT_EQ(contentOf(moved), this->u("x"));
}

TYPED_TEST(StringTest, MovedFromStringsStayUsable) {
    String<TypeParam> source = this->make("ab");
    String<TypeParam> taken(std::move(source));
    String<TypeParam> empty;
    EXPECT_EQ(source.length(), 0u);
    source.append(empty);
    source.assign(empty);
    empty.append(source);
    empty.assign(source);
    const String<TypeParam> copy(source);
    EXPECT_EQ(copy.length(), 0u);
    source.append(TypeParam('c'));
    source.append(taken);
    EXPECT_EQ(contentOf(source), this->u("cab"));

    String<TypeParam> assigned = this->make("xyz");
    assigned = std::move(taken);
    taken.append(this->make("de"));
    EXPECT_EQ(contentOf(taken), this->u("de"));
    EXPECT_EQ(contentOf(assigned), this->u("ab"));
}

// A substring names a range of another string's content; the string
// operations and the iterator take it like a whole string.
TYPED_TEST(StringTest, SubstringsDesignateARangeOfTheirTarget) {
    const String<TypeParam> s = this->make("abcdef");
    const SubString<TypeParam> middle(&s, 2, 5);
    EXPECT_EQ(middle.length(), 3u);
    EXPECT_EQ(middle.offset(), 2u);
    EXPECT_EQ(middle.data(), s.data() + 2);
    EXPECT_EQ(middle.dataAt(1), s.data() + 3);
    EXPECT_EQ(middle.endData(), s.data() + 5);
    EXPECT_EQ(middle.endData(), middle.data() + middle.length());

    String<TypeParam> appended = this->make("x");
    appended.append(middle);
    EXPECT_EQ(contentOf(appended), this->u("xcde"));
    String<TypeParam> assigned;
    assigned.assign(middle);
    EXPECT_EQ(contentOf(assigned), this->u("cde"));

    SubStringIterator<TypeParam> it(middle);
    EXPECT_EQ(*it.last(), TypeParam('e'));
    EXPECT_EQ(*it.first(), TypeParam('c'));
    EXPECT_EQ(*it.next(), TypeParam('c'));
    EXPECT_EQ(*it.next(), TypeParam('d'));
    EXPECT_EQ(*it.next(), TypeParam('e'));
    EXPECT_EQ(it.next(), nullptr);
}

TYPED_TEST(StringTest, IteratorOverEmptyStringAnswersNull) {
    String<TypeParam> s;
    SubStringIterator<TypeParam> it(s);
    EXPECT_FALSE(it.hasMore());
    EXPECT_TRUE(it.atEnd());
    EXPECT_EQ(it.position(), 0u);
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(it.previous(), nullptr);
    EXPECT_EQ(it.first(), nullptr);
    EXPECT_EQ(it.last(), nullptr);
}

TYPED_TEST(StringTest, IteratorSeesUnitsAppendedAfterTheEnd) {
    String<TypeParam> s = this->make("ab");
    SubStringIterator<TypeParam> it(s);
    EXPECT_EQ(*it.next(), TypeParam('a'));
    EXPECT_EQ(*it.next(), TypeParam('b'));
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_TRUE(it.atEnd());
    EXPECT_EQ(it.position(), 3u);
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.previous(), nullptr) << "past the end there is no unit to step back from";
    EXPECT_EQ(it.position(), 3u);
    s.append(TypeParam('c'));
    EXPECT_EQ(*it.next(), TypeParam('c'));
}

TYPED_TEST(StringTest, BackwardWalkStopsBeforeTheFirstUnit) {
    String<TypeParam> s = this->make("ab");
    SubStringIterator<TypeParam> it(s);
    EXPECT_EQ(*it.last(), TypeParam('b'));
    EXPECT_EQ(it.position(), 2u);
    EXPECT_EQ(*it.previous(), TypeParam('b'));
    EXPECT_EQ(*it.previous(), TypeParam('a'));
    EXPECT_EQ(it.previous(), nullptr);
    EXPECT_EQ(it.position(), 0u);
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(*it.first(), TypeParam('a'));
    EXPECT_EQ(it.position(), 1u);
}

TYPED_TEST(StringTest, IteratorOnAShrunkStringBecomesInvalid) {
    String<TypeParam> s = this->make("abc");
    SubStringIterator<TypeParam> it(s);
    it.next();
    ASSERT_EQ(it.position(), 2u);
    s.clear();
    EXPECT_FALSE(it.hasMore());
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.next(), nullptr);
}

TYPED_TEST(StringTest, IteratorFollowsTheContentAfterFrontRemoval) {
    String<TypeParam> s = this->make("abcd");
    SubStringIterator<TypeParam> it(s);
    s.remove(0, 2);
    EXPECT_EQ(*it.current(), TypeParam('c'));
}

TEST(StringAllocation, ImpossibleSizesThrowBadAlloc) {
    String<ULong> s;
    String<ULong> grown;
    // A count whose byte size does not fit in 32 bits cannot be allocated.
    EXPECT_THROW((String<ULong>(s.data(), 0x40000001u)), std::bad_alloc);
    EXPECT_EQ(grown.capacity(), 10u);
}

}  // namespace
}  // namespace RUZ
