// Tests of the demonstration engine through its C operations, on small
// documents written into a fresh temporary folder for each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/engine.h"
#include "engines/demo/result_codes.h"
#include "engines/demo/text_document.h"

namespace {

namespace fs = std::filesystem;
using namespace rvx::demo;

// A byte string from a literal that may hold NUL bytes.
template <std::size_t N>
std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

std::string repeat(std::string_view piece, std::size_t times) {
    std::string result;
    for (std::size_t i = 0; i < times; ++i) result += piece;
    return result;
}

std::optional<std::string> readIfExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The text-information records that the engine receives and ignores.
struct TextInfos {
    char groupName[256] = {};
    char defLangName[256] = {};
    rvx::TextInfoRecV4 v4{};
    rvx::TextInfoRecV3 v3{groupName, defLangName, 0, 0, 0, 0, 0, 0};
};

// What a text operation did: its code, and the text it wrote into its output
// file or stream (nothing when it made no output file).
struct Outcome {
    std::int32_t code;
    std::optional<std::string> text;
};

Outcome fileOutcome(std::int32_t code, const std::string& out) { return {code, readIfExists(out)}; }

using TextCall = Outcome (*)(const std::string& in, const std::string& out, std::int32_t* page);

struct TextOperation {
    const char* name;
    bool takesPage;
    TextCall call;
};

const TextOperation kTextOperations[] = {
    {"text V3", false,
     [](const std::string& in, const std::string& out, std::int32_t*) {
         TextInfos infos;
         return fileOutcome(rvxTextV3(in.c_str(), out.c_str(), &infos.v3), out);
     }},
    {"page text V3", true,
     [](const std::string& in, const std::string& out, std::int32_t* page) {
         TextInfos infos;
         return fileOutcome(rvxPageTextV3(in.c_str(), out.c_str(), &infos.v3, page), out);
     }},
    {"password text V3", false,
     [](const std::string& in, const std::string& out, std::int32_t*) {
         TextInfos infos;
         return fileOutcome(rvxPwdTextV3(in.c_str(), out.c_str(), &infos.v3, "secret"), out);
     }},
    {"password page text V3", true,
     [](const std::string& in, const std::string& out, std::int32_t* page) {
         TextInfos infos;
         return fileOutcome(rvxPwdPageTextV3(in.c_str(), out.c_str(), &infos.v3, page, "secret"),
                            out);
     }},
    {"text V4", false,
     [](const std::string& in, const std::string& out, std::int32_t*) {
         TextInfos infos;
         return fileOutcome(rvxTextV4(in.c_str(), out.c_str(), &infos.v4, nullptr), out);
     }},
    {"page text V4", true,
     [](const std::string& in, const std::string& out, std::int32_t* page) {
         TextInfos infos;
         return fileOutcome(rvxPageTextV4(in.c_str(), out.c_str(), &infos.v4, page, nullptr),
                            out);
     }},
    {"password text V4", false,
     [](const std::string& in, const std::string& out, std::int32_t*) {
         TextInfos infos;
         return fileOutcome(rvxPwdTextV4(in.c_str(), out.c_str(), &infos.v4, "", nullptr), out);
     }},
    {"password page text V4", true,
     [](const std::string& in, const std::string& out, std::int32_t* page) {
         TextInfos infos;
         return fileOutcome(
             rvxPwdPageTextV4(in.c_str(), out.c_str(), &infos.v4, page, "", nullptr), out);
     }},
    {"text to stream", false,
     [](const std::string& in, const std::string&, std::int32_t*) {
         TextInfos infos;
         std::ostringstream stream;
         const std::int32_t code = rvxTextStreamV4(in.c_str(), &stream, &infos.v4, nullptr);
         return Outcome{code, stream.str()};
     }},
    {"page text to stream", true,
     [](const std::string& in, const std::string&, std::int32_t* page) {
         TextInfos infos;
         std::ostringstream stream;
         const std::int32_t code =
             rvxPageTextStreamV4(in.c_str(), &stream, &infos.v4, page, nullptr);
         return Outcome{code, stream.str()};
     }},
};

bool writesFile(const TextOperation& operation) {
    return std::strstr(operation.name, "stream") == nullptr;
}

// What an operation that delivers no text leaves behind: no output file, or
// an empty stream.
std::optional<std::string> nothingWritten(const TextOperation& operation) {
    return writesFile(operation) ? std::nullopt : std::optional<std::string>("");
}

using InfoCall = std::int32_t(RVX_ENGINE_CALL*)(const char*, rvx::FileInfoRec*);
const InfoCall kInfoCalls[] = {rvxFileInfoV3, rvxFileInfoV4};

using PropertyCall = std::int32_t (*)(const char*, rvx::PropertyRec*);
const PropertyCall kPropertyCalls[] = {
    [](const char* in, rvx::PropertyRec* props) {
        TextInfos infos;
        return rvxPropertyV3(in, &infos.v3, props);
    },
    [](const char* in, rvx::PropertyRec* props) {
        TextInfos infos;
        return rvxPwdPropertyV3(in, &infos.v3, props, "secret");
    },
    [](const char* in, rvx::PropertyRec* props) {
        TextInfos infos;
        return rvxPropertyV4(in, &infos.v4, props);
    },
    [](const char* in, rvx::PropertyRec* props) {
        TextInfos infos;
        return rvxPwdPropertyV4(in, &infos.v4, props, "secret");
    },
};

class DemoEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("rvx-demo-engine-" + std::string(test->name()) + "-" +
                   std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }

    void TearDown() override { fs::remove_all(folder_); }

    std::string document(const std::string& name, const std::string& content) {
        const std::string path = pathOf(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // A new output path, never used before in this test.
    std::string freshOutput() { return pathOf("out-" + std::to_string(++outputs_) + ".txt"); }

    std::string pathOf(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
    int outputs_ = 0;
};

// Decoding, as seen through file information and the whole-document text of
// every text operation.
TEST_F(DemoEngineTest, DetectsTheEncodingAndDeliversUtf8) {
    struct Case {
        const char* label;
        std::string raw;
        const char* subFormat;
        std::string utf8;
    };
    const Case cases[] = {
        {"ASCII", "Hello\nworld\n", "ASCII", "Hello\nworld\n"},
        {"UTF-8", "Gr\xC3\xBC\xC3\x9F" "e\n", "UTF-8", "Gr\xC3\xBC\xC3\x9F" "e\n"},
        {"UTF-8 BOM is dropped", "\xEF\xBB\xBFZ\xC3\xBCrich", "UTF-8 with BOM", "Z\xC3\xBCrich"},
        {"invalid byte after a UTF-8 BOM", "\xEF\xBB\xBF" "a\xFF" "b", "UTF-8 with BOM",
         "a\xEF\xBF\xBD" "b"},
        {"UTF-16LE with a surrogate pair", bytes("\xFF\xFE" "A\0\xE9\0\x3D\xD8\x00\xDE"),
         "UTF-16LE with BOM", "A\xC3\xA9\xF0\x9F\x98\x80"},
        {"UTF-16BE", bytes("\xFE\xFF\0A\x04\x16\0\n"), "UTF-16BE with BOM", "A\xD0\x96\n"},
        {"unpaired surrogate in UTF-16", bytes("\xFF\xFE\x00\xD8" "B\0"), "UTF-16LE with BOM",
         "\xEF\xBF\xBD" "B"},
        {"Latin-1", "caf\xE9\n", "Latin-1", "caf\xC3\xA9\n"},
        {"overlong UTF-8 is Latin-1", "\xC0\xAF", "Latin-1", "\xC3\x80\xC2\xAF"},
        {"four-byte UTF-8", "\xF0\x9F\x98\x80", "UTF-8", "\xF0\x9F\x98\x80"},
        {"UTF-8-encoded surrogate is Latin-1", "\xED\xA0\x80", "Latin-1",
         "\xC3\xAD\xC2\xA0\xC2\x80"},
        {"beyond U+10FFFF is Latin-1", "\xF4\x90\x80\x80", "Latin-1",
         "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
        {"truncated UTF-8 is Latin-1", "ab\xE2\x82", "Latin-1", "ab\xC3\xA2\xC2\x82"},
        {"controls of ordinary text", "a\tb\r\n\x1B[1mc\x0B\x1A", "ASCII",
         "a\tb\r\n\x1B[1mc\x0B\x1A"},
        {"empty file", "", "ASCII", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string in = document("doc.txt", c.raw);
        for (const InfoCall fileInfo : kInfoCalls) {
            rvx::FileInfoRec info;
            std::memset(&info, 'x', sizeof info);
            ASSERT_EQ(fileInfo(in.c_str(), &info), kOk);
            EXPECT_STREQ(info.docFormat, "Plain text");
            EXPECT_STREQ(info.docSubFormat, c.subFormat);
            EXPECT_STREQ(info.docCountry, "unknown");
            EXPECT_EQ(info.first, static_cast<std::int32_t>(c.raw.size()));
            EXPECT_EQ(info.second, 1);
        }
        for (const TextOperation& operation : kTextOperations) {
            if (operation.takesPage) continue;
            SCOPED_TRACE(operation.name);
            const Outcome outcome = operation.call(in, freshOutput(), nullptr);
            EXPECT_EQ(outcome.code, kOk);
            EXPECT_EQ(outcome.text, c.utf8);
        }
    }
}

TEST_F(DemoEngineTest, RefusesContentThatIsNotText) {
    const std::pair<const char*, std::string> cases[] = {
        {"NUL in ASCII", bytes("abc\0def")},
        {"NUL in Latin-1", bytes("caf\xE9\0")},
        {"C0 control", "abc\x01"},
        {"NUL in UTF-8 after a BOM", bytes("\xEF\xBB\xBF" "a\0")},
        {"NUL in UTF-16LE", bytes("\xFF\xFE" "a\0\0\0")},
        {"odd-length UTF-16", bytes("\xFF\xFE" "a\0b")},
        {"image header", bytes("\x89PNG\r\n\x1A\n\0\0\0\rIHDR")},
    };
    for (const auto& [label, raw] : cases) {
        SCOPED_TRACE(label);
        const std::string in = document("binary.bin", raw);
        rvx::FileInfoRec info;
        EXPECT_EQ(rvxFileInfoV4(in.c_str(), &info), kNotText);
        for (const TextOperation& operation : kTextOperations) {
            SCOPED_TRACE(operation.name);
            std::int32_t page = 1;
            const Outcome outcome = operation.call(in, freshOutput(), &page);
            EXPECT_EQ(outcome.code, kNotText);
            EXPECT_EQ(outcome.text, nothingWritten(operation));
        }
        rvx::PropertyRec props;
        EXPECT_EQ(kPropertyCalls[0](in.c_str(), &props), kNotText);
    }
}

// Every page operation, on every page of each document: page 0 stores the
// number of pages and writes nothing; pages beyond either end are refused.
TEST_F(DemoEngineTest, SplitsPagesAtFormFeeds) {
    struct Case {
        const char* label;
        std::string raw;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {"three pages", "one\n\ftwo\n\fthree\n", {"one\n", "two\n", "three\n"}},
        {"a final form feed ends the last page", "one\ftwo\f", {"one", "two"}},
        {"an empty page between form feeds", "a\f\fb", {"a", "", "b"}},
        {"no form feed", "only\n", {"only\n"}},
        {"empty document", "", {""}},
        {"a lone form feed", "\f", {""}},
        {"UTF-16LE pages", bytes("\xFF\xFE" "a\0\x0C\0\xE9\0"), {"a", "\xC3\xA9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string in = document("pages.txt", c.raw);
        const auto pageCount = static_cast<std::int32_t>(c.pages.size());
        rvx::FileInfoRec info;
        ASSERT_EQ(rvxFileInfoV4(in.c_str(), &info), kOk);
        EXPECT_EQ(info.second, pageCount);
        for (const TextOperation& operation : kTextOperations) {
            if (!operation.takesPage) continue;
            SCOPED_TRACE(operation.name);
            std::int32_t page = 0;
            Outcome outcome = operation.call(in, freshOutput(), &page);
            EXPECT_EQ(outcome.code, kOk);
            EXPECT_EQ(page, pageCount);
            EXPECT_EQ(outcome.text, nothingWritten(operation));
            for (std::int32_t number = 1; number <= pageCount; ++number) {
                page = number;
                outcome = operation.call(in, freshOutput(), &page);
                EXPECT_EQ(outcome.code, kOk);
                EXPECT_EQ(outcome.text, c.pages[number - 1]) << "page " << number;
                EXPECT_EQ(page, number);
            }
            for (const std::int32_t outside : {pageCount + 1, -1}) {
                page = outside;
                outcome = operation.call(in, freshOutput(), &page);
                EXPECT_EQ(outcome.code, kPageOutOfRange) << "page " << outside;
                EXPECT_EQ(outcome.text, nothingWritten(operation));
            }
        }
    }
}

TEST_F(DemoEngineTest, TitleAndParagraphsComeFromTheText) {
    struct Case {
        const char* label;
        std::string raw;
        std::string title;
        const char* paragraphs;
    };
    const Case cases[] = {
        {"title after blank lines, trimmed",
         "\n \t\n  Quarterly report  \r\n\r\nFirst\nsecond\n\nThird\fFourth\n",
         "Quarterly report", "4"},
        {"title on a later page", "\f\n\fHeading\n", "Heading", "1"},
        {"empty document", "", "", "0"},
        {"only white space", " \n\t\r\n", "", "0"},
        {"CRLF blank lines separate paragraphs", "a\r\n\r\nb\r\n", "a", "2"},
        {"Latin-1 title", "Caf\xE9 menu\n", "Caf\xC3\xA9 menu", "1"},
        {"characters beyond U+FFFF become U+FFFD", "\xF0\x9F\x98\x80 smile",
         "\xEF\xBF\xBD smile", "1"},
        {"a long title is cut before the character that does not fit",
         repeat("\xC3\xA9", 600), repeat("\xC3\xA9", 513), "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string in = document("props.txt", c.raw);
        for (const PropertyCall properties : kPropertyCalls) {
            rvx::PropertyRec props;
            std::memset(&props, 'x', sizeof props);
            ASSERT_EQ(properties(in.c_str(), &props), kOk);
            EXPECT_EQ(std::string(props.title), c.title);
            EXPECT_STREQ(props.paragraphs, c.paragraphs);
        }
    }
}

TEST_F(DemoEngineTest, PropertiesTellSizeTimeAndType) {
    const std::string in = document("report.txt", "caf\xE9\n");
    const std::chrono::sys_seconds modified{std::chrono::seconds{981173106}};
    fs::last_write_time(in, std::chrono::file_clock::from_sys(modified));

    rvx::PropertyRec props;
    std::memset(&props, 'x', sizeof props);
    ASSERT_EQ(rvxPropertyV4(in.c_str(), nullptr, &props), kOk);
    EXPECT_STREQ(props.bytes, "5");
    EXPECT_STREQ(props.lastsavetime, "2001-02-03T04:05:06Z");
    EXPECT_STREQ(props.doctype, "Plain text");
    EXPECT_STREQ(props.descriptive_type, "Plain text, Latin-1");
    EXPECT_STREQ(props.descriptive_name, "report.txt");
    EXPECT_STREQ(props.encryptionflag, "0");
    for (const char* unknown : {props.author, props.subject, props.createdate, props.creator,
                                props.language, props.version_number}) {
        EXPECT_STREQ(unknown, "");
    }
}

TEST_F(DemoEngineTest, PropertyRecordIsClearedWhenTheDocumentFails) {
    const std::string missing = pathOf("missing.txt");
    for (const PropertyCall properties : kPropertyCalls) {
        rvx::PropertyRec props;
        std::memset(&props, 'x', sizeof props);
        EXPECT_EQ(properties(missing.c_str(), &props), kMissingFile);
        const auto* raw = reinterpret_cast<const unsigned char*>(&props);
        EXPECT_EQ(std::count(raw, raw + sizeof props, 0), static_cast<std::ptrdiff_t>(sizeof props));
    }
}

// Each failing input gives its code from every operation.
TEST_F(DemoEngineTest, InputFailuresHaveTheirCodes) {
    document("binary.bin", bytes("\0\1\2"));
    fs::create_directory(pathOf("folder"));
    // Sparse: refused by its size before anything is read.
    fs::resize_file(document("huge.txt", ""), kMaxDocumentBytes + 1);
    const std::pair<std::string, ResultCode> cases[] = {
        {pathOf("missing.txt"), kMissingFile},
        {pathOf("missing-folder/missing.txt"), kMissingFile},
        {"", kMissingFile},
        {pathOf("folder"), kUnreadableFile},
        {pathOf("binary.bin"), kNotText},
        {pathOf("huge.txt"), kTooLarge},
    };
    for (const auto& [in, expected] : cases) {
        SCOPED_TRACE(in);
        for (const InfoCall fileInfo : kInfoCalls) {
            rvx::FileInfoRec info;
            EXPECT_EQ(fileInfo(in.c_str(), &info), expected);
        }
        for (const PropertyCall properties : kPropertyCalls) {
            rvx::PropertyRec props;
            EXPECT_EQ(properties(in.c_str(), &props), expected);
        }
        for (const TextOperation& operation : kTextOperations) {
            SCOPED_TRACE(operation.name);
            std::int32_t page = 1;
            const Outcome outcome = operation.call(in, freshOutput(), &page);
            EXPECT_EQ(outcome.code, expected);
            EXPECT_EQ(outcome.text, nothingWritten(operation));
        }
    }
}

TEST_F(DemoEngineTest, UnwritableOutputIsReported) {
    const std::string in = document("doc.txt", "text\n");
    fs::create_directory(pathOf("folder"));
    for (const std::string& out : {pathOf("missing-folder/out.txt"), pathOf("folder")}) {
        SCOPED_TRACE(out);
        for (const TextOperation& operation : kTextOperations) {
            if (!writesFile(operation)) continue;
            SCOPED_TRACE(operation.name);
            std::int32_t page = 1;
            EXPECT_EQ(operation.call(in, out, &page).code, kOutputNotWritable);
        }
    }
}

TEST_F(DemoEngineTest, FailingStreamIsReported) {
    const std::string in = document("doc.txt", "text\n");
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_EQ(rvxTextStreamV4(in.c_str(), &broken, nullptr, nullptr), kStreamFailed);
    std::int32_t page = 1;
    EXPECT_EQ(rvxPageTextStreamV4(in.c_str(), &broken, nullptr, &page, nullptr), kStreamFailed);
}

TEST_F(DemoEngineTest, NullPointersAreRefused) {
    const std::string in = document("doc.txt", "text\n");
    const std::string out = freshOutput();
    std::ostringstream stream;
    std::int32_t page = 1;
    const std::pair<const char*, std::int32_t> cases[] = {
        {"file information without a path", rvxFileInfoV4(nullptr, nullptr)},
        {"file information without a record", rvxFileInfoV4(in.c_str(), nullptr)},
        {"text without a path", rvxTextV4(nullptr, out.c_str(), nullptr, nullptr)},
        {"text without an output", rvxTextV4(in.c_str(), nullptr, nullptr, nullptr)},
        {"page text without a page", rvxPageTextV4(in.c_str(), out.c_str(), nullptr, nullptr,
                                                   nullptr)},
        {"properties without a record", rvxPropertyV4(in.c_str(), nullptr, nullptr)},
        {"stream without a stream", rvxTextStreamV4(in.c_str(), nullptr, nullptr, nullptr)},
        {"page stream without a page",
         rvxPageTextStreamV4(in.c_str(), &stream, nullptr, nullptr, nullptr)},
        {"page stream without a stream",
         rvxPageTextStreamV4(in.c_str(), nullptr, nullptr, &page, nullptr)},
    };
    for (const auto& [label, code] : cases) EXPECT_EQ(code, kInvalidArgument) << label;
    EXPECT_EQ(readIfExists(out), std::nullopt);
    EXPECT_EQ(stream.str(), "");
}

TEST(DemoEngineSlots, CopyToSlotKeepsValidTextInsideTheSlot) {
    struct Case {
        const char* label;
        std::string text;
        std::size_t slotBytes;
        std::string expected;
    };
    const Case cases[] = {
        {"fits", "abc", 8, "abc"},
        {"cut to leave room for the NUL", "abcdef", 4, "abc"},
        {"invalid byte becomes U+FFFD", "a\xFF" "b", 8, "a\xEF\xBF\xBD" "b"},
        {"a character that does not fit whole is left out", "ab\xC3\xA9", 4, "ab"},
        {"empty", "", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<char> slot(c.slotBytes + 1, 'x');
        copyToSlot(slot.data(), c.slotBytes, c.text);
        EXPECT_EQ(std::string(slot.data()), c.expected);
        EXPECT_EQ(slot[c.slotBytes], 'x') << "wrote past the slot";
    }
}

TEST(DemoEngineTime, FormatsUtcTimes) {
    EXPECT_EQ(formatUtcTime(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(formatUtcTime(981173106), "2001-02-03T04:05:06Z");
    EXPECT_EQ(formatUtcTime(951825599), "2000-02-29T11:59:59Z");
}

}  // namespace
