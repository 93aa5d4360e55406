#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "flow_test_support.h"
#include "ruz/base/fileflow.h"

namespace RUZ {
namespace {

using namespace flowtest;
using Bytes = std::vector<unsigned char>;

// A file in the system's temporary directory, named after the running test
// and removed at the end of it.
class TempFile {
public:
    TempFile() : path_(uniquePath()), name_(path_.string()) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    const char* name() const { return name_.c_str(); }

    void write(const Bytes& bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    Bytes bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    static std::filesystem::path uniquePath() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("ruz-fileflow-") + test->test_suite_name() + "-" + test->name();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
        static unsigned created = 0;
        name += "-" + std::to_string(++created) + "-" + std::to_string(std::random_device()()) + ".bin";
        return std::filesystem::temp_directory_path() / name;
    }

    std::filesystem::path path_;
    std::string name_;
};

// A unit whose bytes in memory are 1, 2, ... from the first to the last, so
// that its file image on a little-endian host is the bytes 01 02 ...
template <CodeUnit T>
constexpr T countingUnit() {
    return static_cast<T>(0x04030201u);
}

template <CodeUnit T>
Bytes countingBytes(unsigned units) {
    Bytes bytes;
    for (unsigned u = 0; u < units; ++u)
        for (unsigned char b = 1; b <= sizeof(T); ++b) bytes.push_back(b);
    return bytes;
}

TEST(FileFlowTest, FlowsHandleAllWidthsAndStartNotOpen) {
    FileIFlow input;
    FileOFlow output;
    for (Flow* flow : {static_cast<Flow*>(&input), static_cast<Flow*>(&output)}) {
        EXPECT_EQ(flow->unitKinds(), AllUnitKinds);
        EXPECT_FALSE(flow->isOpen());
        EXPECT_FALSE(flow->isReady());
        EXPECT_FALSE(flow->close());
        EXPECT_FALSE(flow->rewind());
    }
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::NotOpen, [&] { output.flush(); }));
}

template <class T>
class FileFlowWidthTest : public ::testing::Test {};
TYPED_TEST_SUITE(FileFlowWidthTest, UnitTypes);

TYPED_TEST(FileFlowWidthTest, TransfersOnAFlowThatIsNotOpenRaiseNotOpen) {
    using T = TypeParam;
    FileIFlow input;
    FileOFlow output;
    T units[2] = {};
    unsigned count = 99;
    const int notOpen = IOException::NotOpen;
    EXPECT_TRUE(raises(SourceFile::fileflow, notOpen, [&] { readOne<T>(input); }));
    EXPECT_TRUE(raises(SourceFile::fileflow, notOpen, [&] { readBlock<T>(input, 2, units, count); }));
    EXPECT_TRUE(raises(SourceFile::fileflow, notOpen, [&] { writeOne<T>(output, T(1)); }));
    EXPECT_TRUE(raises(SourceFile::fileflow, notOpen, [&] { writeBlock<T>(output, 2, units, count); }));
    EXPECT_EQ(count, 99u);
}

TYPED_TEST(FileFlowWidthTest, UnitsAreStoredAsTheirLittleEndianBytes) {
    using T = TypeParam;
    TempFile file;
    {
        FileOFlow output;
        ASSERT_TRUE(output.open(file.name()));
        writeOne<T>(output, countingUnit<T>());
        const T block[2] = {countingUnit<T>(), countingUnit<T>()};
        unsigned done = 99;
        writeBlock<T>(output, 2, block, done);
        EXPECT_EQ(done, 2u);
    }
    ASSERT_EQ(file.bytes(), countingBytes<T>(3));

    FileIFlow input;
    ASSERT_TRUE(input.open(file.name()));
    EXPECT_EQ(readOne<T>(input), countingUnit<T>());
    T block[2] = {};
    unsigned got = 99;
    readBlock<T>(input, 2, block, got);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(block[0], countingUnit<T>());
    EXPECT_EQ(block[1], countingUnit<T>());
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { readOne<T>(input); }));
}

TEST(FileFlowTest, ExactBytesOfTextsAndWideUnits) {
    TempFile file;
    {
        FileOFlow output;
        ASSERT_TRUE(output.open(file.name()));
        EXPECT_TRUE(output.writeText("hi"));
        output.write16(0x1234);
        output.write32(1);
        output.write32(0xFFEEDDCCu);
    }
    EXPECT_EQ(file.bytes(), (Bytes{'h', 'i', 0x34, 0x12, 0x01, 0x00, 0x00, 0x00, 0xCC, 0xDD, 0xEE, 0xFF}));
}

TEST(FileFlowTest, ATrailingPartialUnitIsConsumedAndEndsTheFlow) {
    TempFile file;
    file.write({0x41, 0x42, 0x43});
    FileIFlow input;
    ASSERT_TRUE(input.open(file.name()));
    EXPECT_EQ(input.read16(), 0x4241);
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.read16(); }));
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.read8(); }));

    ASSERT_TRUE(input.rewind());
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.read32(); }));
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.read8(); }));
}

TEST(FileFlowTest, ShortBlockReadAtTheEndRaisesEndOfFlowWithTheCount) {
    TempFile file;
    file.write({0x41, 0x42, 0x43});
    FileIFlow input;
    ASSERT_TRUE(input.open(file.name()));
    unsigned short wide[2] = {};
    unsigned got = 99;
    EXPECT_TRUE(
        raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.readBlock16(2, wide, got); }));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(wide[0], 0x4241);
    EXPECT_TRUE(input.isAtStart()) << "a short block leaves atStart alone";

    ASSERT_TRUE(input.rewind());
    char bytes[3] = {};
    input.readBlock8(3, bytes, got);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(bytes, 3), "ABC");
    EXPECT_FALSE(input.isAtStart());
    ULong none[1];
    EXPECT_TRUE(
        raises(SourceFile::fileflow, IOException::EndOfFlow, [&] { input.readBlock32(1, none, got); }));
    EXPECT_EQ(got, 0u);
}

TEST(FileFlowTest, LineReadsGoThroughTheReadOfTheStringsWidth) {
    TempFile file;
    file.write({'a', 'b', '\n', 'c', 0x0A, 0x0A, 0x00, 'z'});
    FileIFlow input;
    ASSERT_TRUE(input.open(file.name()));
    String<char> line;
    EXPECT_FALSE(input.readLine(line, false));
    EXPECT_EQ(contentOf(line), unitsOf<char>("ab\n"));
    String<unsigned short> wide;
    EXPECT_FALSE(input.readLine(wide, false));
    EXPECT_EQ(contentOf(wide), (std::vector<unsigned short>{0x0A63, 0x000A}));
    EXPECT_TRUE(input.readLine(line, false));
    EXPECT_EQ(contentOf(line), unitsOf<char>("z"));
}

TEST(FileFlowTest, AtStartAfterAttachRewindAndTransfers) {
    TempFile file;
    file.write({'a', 'b'});
    std::FILE* stream = std::fopen(file.name(), "r+b");
    ASSERT_NE(stream, nullptr);
    FileIFlow input;
    FileOFlow output;
    input.attach(stream);
    EXPECT_TRUE(input.isOpen());
    EXPECT_FALSE(input.isAtStart()) << "a lent stream may be anywhere";
    EXPECT_TRUE(input.rewind());
    EXPECT_TRUE(input.isAtStart());
    EXPECT_EQ(input.read8(), 'a');
    EXPECT_FALSE(input.isAtStart());

    output.attach(stream);
    EXPECT_FALSE(output.isAtStart());
    EXPECT_TRUE(output.rewind());
    EXPECT_TRUE(output.isAtStart());
    output.write8('z');
    EXPECT_FALSE(output.isAtStart());
    output.flush();
    EXPECT_TRUE(input.rewind());
    EXPECT_EQ(input.read8(), 'z') << "the rewound writer overwrote the first byte";
    EXPECT_EQ(input.read8(), 'b');

    EXPECT_TRUE(input.close());
    EXPECT_TRUE(output.close());
    EXPECT_EQ(std::fclose(stream), 0) << "the lent stream was left open";
}

TEST(FileFlowTest, LentStreamsOutliveCloseAttachAndDestruction) {
    TempFile file;
    std::FILE* first = std::fopen(file.name(), "wb");
    ASSERT_NE(first, nullptr);
    {
        FileOFlow output;
        output.attach(first);
        output.write8('a');
        EXPECT_TRUE(output.close());
        EXPECT_FALSE(output.isOpen());
        EXPECT_FALSE(output.close());
        ASSERT_NE(std::fputc('b', first), EOF);

        output.attach(first);
        output.write8('c');
        output.attach(stdout);
        ASSERT_NE(std::fputc('d', first), EOF);
        output.attach(first);
        output.write8('e');
    }
    ASSERT_NE(std::fputc('f', first), EOF);
    ASSERT_EQ(std::fclose(first), 0);
    EXPECT_EQ(file.bytes(), (Bytes{'a', 'b', 'c', 'd', 'e', 'f'}));
}

TEST(FileFlowTest, CloseLeavesTheProcessStandardOutputOpen) {
    FileOFlow output;
    output.attach(stdout);
    EXPECT_TRUE(output.close());
    EXPECT_FALSE(output.isOpen());
    EXPECT_EQ(std::fflush(stdout), 0);
}

TEST(FileFlowTest, NamedFilesAreOwnedAndClosedByTheFlow) {
    TempFile file;
    FileOFlow output;
    ASSERT_TRUE(output.open(file.name()));
    EXPECT_TRUE(output.isOpen());
    EXPECT_TRUE(output.isAtStart());
    EXPECT_TRUE(output.writeText("abc"));
    EXPECT_TRUE(output.close()) << "fclose of an owned stream succeeded";
    EXPECT_EQ(file.bytes(), (Bytes{'a', 'b', 'c'}));

    {
        FileOFlow appending;
        ASSERT_TRUE(appending.openForAppend(file.name()));
        EXPECT_TRUE(appending.writeText("de"));
    }
    EXPECT_EQ(file.bytes(), (Bytes{'a', 'b', 'c', 'd', 'e'})) << "destruction closed the stream";

    TempFile other;
    ASSERT_TRUE(output.open(file.name()));
    output.write8('x');
    ASSERT_TRUE(output.open(other.name()));
    EXPECT_EQ(file.bytes(), Bytes{'x'}) << "opening closed the stream the flow had opened";
    output.write8('y');
    output.attach(stdout);
    EXPECT_EQ(other.bytes(), Bytes{'y'}) << "attaching closed the stream the flow had opened";
    EXPECT_TRUE(output.close());
}

TEST(FileFlowTest, OpeningANamedFileAfterALentStreamIsAtTheStart) {
    TempFile file;
    file.write({'a'});
    FileIFlow input;
    input.attach(stdin);
    ASSERT_FALSE(input.isAtStart());
    ASSERT_TRUE(input.open(file.name()));
    EXPECT_TRUE(input.isAtStart());
    EXPECT_EQ(input.read8(), 'a');

    TempFile other;
    FileOFlow output;
    output.attach(stdout);
    ASSERT_FALSE(output.isAtStart());
    ASSERT_TRUE(output.openForAppend(other.name()));
    EXPECT_TRUE(output.isAtStart());
    output.attach(stdout);
    ASSERT_TRUE(output.open(other.name()));
    EXPECT_TRUE(output.isAtStart());
}

TEST(FileFlowTest, OpeningAMissingFileFailsAndLeavesTheFlowNotOpen) {
    TempFile file;
    file.write({'a'});
    const std::string missing = std::string(file.name()) + ".missing/none";
    FileIFlow input;
    ASSERT_TRUE(input.open(file.name()));
    EXPECT_FALSE(input.open(missing.c_str()));
    EXPECT_FALSE(input.isOpen());
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::NotOpen, [&] { input.read8(); }));

    FileOFlow output;
    EXPECT_FALSE(output.open(missing.c_str()));
    EXPECT_FALSE(output.openForAppend(missing.c_str()));
    EXPECT_FALSE(output.isOpen());
}

TEST(FileFlowTest, WritesToAReadOnlyStreamFail) {
    TempFile file;
    file.write({'a', 'b'});
    std::FILE* readOnly = std::fopen(file.name(), "rb");
    ASSERT_NE(readOnly, nullptr);
    FileOFlow output;
    output.attach(readOnly);
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::WriteFailed, [&] { output.write8('x'); }));
    const ULong units[2] = {1, 2};
    unsigned done = 99;
    EXPECT_TRUE(
        raises(SourceFile::fileflow, IOException::WriteFailed, [&] { output.writeBlock32(2, units, done); }));
    EXPECT_EQ(done, 0u);
    output.close();
    std::fclose(readOnly);
    EXPECT_EQ(file.bytes(), (Bytes{'a', 'b'}));
}

TEST(FileFlowTest, ReadsFromAWriteOnlyStreamAreIoErrors) {
    TempFile file;
    std::FILE* writeOnly = std::fopen(file.name(), "wb");
    ASSERT_NE(writeOnly, nullptr);
    FileIFlow input;
    input.attach(writeOnly);
    char bytes[4];
    unsigned got = 99;
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::IoError, [&] { input.readBlock8(4, bytes, got); }));
    EXPECT_EQ(got, 0u);
    input.close();
    std::fclose(writeOnly);
}

TEST(FileFlowTest, AFullDeviceFailsFlushesAndLongWrites) {
    FileOFlow output;
    if (!output.open("/dev/full")) GTEST_SKIP() << "no full device here";
    output.write8('x');
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::IoError, [&] { output.flush(); }));

    const std::vector<char> large(1 << 20, 'y');
    unsigned done = 99;
    EXPECT_TRUE(raises(SourceFile::fileflow, IOException::WriteFailed,
                       [&] { output.writeBlock8(static_cast<unsigned>(large.size()), large.data(), done); }));
    EXPECT_LT(done, large.size());
}

// Units written in random blocks and single units come back whole, whether
// read unit by unit or in blocks of random lengths.
TYPED_TEST(FileFlowWidthTest, RandomTextsSurviveTheRoundTrip) {
    using T = TypeParam;
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<T> text = randomText<T>(3000, seed);
        TempFile file;
        {
            FileOFlow output;
            ASSERT_TRUE(output.open(file.name()));
            std::mt19937 random(seed);
            std::uniform_int_distribution<unsigned> length(0, 40);
            for (unsigned at = 0; at < text.size();) {
                const unsigned n =
                    std::min<unsigned>(length(random), static_cast<unsigned>(text.size()) - at);
                if (n == 1) {
                    writeOne<T>(output, text[at]);
                } else {
                    unsigned done = 0;
                    writeBlock<T>(output, n, text.data() + at, done);
                    ASSERT_EQ(done, n);
                }
                at += n;
            }
        }
        EXPECT_EQ(file.bytes().size(), text.size() * sizeof(T));
        FileIFlow input;
        ASSERT_TRUE(input.open(file.name()));
        EXPECT_EQ(drainByBlocks<T>(input, seed, 64), text);
        ASSERT_TRUE(input.rewind());
        EXPECT_EQ(drainByUnits<T>(input), text);
    }
}

}  // namespace
}  // namespace RUZ
