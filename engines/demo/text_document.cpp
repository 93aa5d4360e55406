#include "engines/demo/text_document.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace rvx::demo {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr std::string_view kLineWhiteSpace = " \t\r\v";

// Control characters found in ordinary text: tab, line feed, vertical tab,
// form feed, carriage return, the DOS end-of-file mark and escape (coloured
// terminal logs). Any other C0 control, NUL first, marks binary content.
bool isTextCharacter(char32_t c) {
    return c >= 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x1B;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point and length of the valid UTF-8 sequence that starts s;
// nothing for a stray continuation byte, an overlong form, a surrogate, a
// value beyond U+10FFFF or a truncated sequence.
std::optional<std::pair<char32_t, std::size_t>> leadingUtf8(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x80) return std::pair<char32_t, std::size_t>{lead, 1};
    std::size_t length;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() < length) return std::nullopt;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto unit = static_cast<unsigned char>(s[i]);
        if ((unit & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (unit & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return std::pair{c, length};
}

// Decodes the UTF-8 sequence at pos and moves pos past it; an invalid
// sequence gives nothing and moves pos by one byte.
std::optional<char32_t> nextUtf8(std::string_view s, std::size_t& pos) {
    const auto sequence = leadingUtf8(s.substr(pos));
    pos += sequence ? sequence->second : 1;
    if (!sequence) return std::nullopt;
    return sequence->first;
}

// Collects the characters of a document as UTF-8 and notices the first one
// that plain text does not hold.
class TextCollector {
public:
    explicit TextCollector(std::size_t expectedBytes) { text_.reserve(expectedBytes); }

    bool add(char32_t c) {
        if (!isTextCharacter(c)) return false;
        appendUtf8(text_, c);
        return true;
    }

    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

std::optional<std::string> decodeUtf8Lenient(std::string_view raw) {
    TextCollector collector(raw.size());
    for (std::size_t pos = 0; pos < raw.size();) {
        if (!collector.add(nextUtf8(raw, pos).value_or(kReplacementCharacter))) return std::nullopt;
    }
    return collector.take();
}

// Valid UTF-8 as it is; nothing when the bytes are not valid UTF-8 or hold
// a character that text does not.
std::optional<std::string> decodeUtf8Strict(std::string_view raw, bool& pureAscii) {
    pureAscii = true;
    for (std::size_t pos = 0; pos < raw.size();) {
        const std::optional<char32_t> c = nextUtf8(raw, pos);
        if (!c || !isTextCharacter(*c)) return std::nullopt;
        if (*c >= 0x80) pureAscii = false;
    }
    return std::string(raw);
}

std::optional<std::string> decodeLatin1(std::string_view raw) {
    TextCollector collector(raw.size() + raw.size() / 4);
    for (const char byte : raw) {
        if (!collector.add(static_cast<unsigned char>(byte))) return std::nullopt;
    }
    return collector.take();
}

// Unpaired surrogates become U+FFFD; an odd byte count is not UTF-16 text.
std::optional<std::string> decodeUtf16(std::string_view raw, bool littleEndian) {
    if (raw.size() % 2 != 0) return std::nullopt;
    const auto unitAt = [&](std::size_t index) -> char32_t {
        const auto first = static_cast<unsigned char>(raw[2 * index]);
        const auto second = static_cast<unsigned char>(raw[2 * index + 1]);
        return littleEndian ? (second << 8) | first : (first << 8) | second;
    };
    const std::size_t units = raw.size() / 2;
    TextCollector collector(raw.size());
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unitAt(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = kReplacementCharacter;
        if (!collector.add(c)) return std::nullopt;
    }
    return collector.take();
}

std::optional<DecodedText> withEncoding(Encoding encoding, std::optional<std::string> text) {
    if (!text) return std::nullopt;
    return DecodedText{encoding, std::move(*text)};
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool isBlank(std::string_view line) {
    return line.find_first_not_of(kLineWhiteSpace) == std::string_view::npos;
}

bool isLineBreak(char c) { return c == '\n' || c == '\f'; }

// The file system's view of a path, with 64-bit sizes and times also on
// 32-bit Windows, whose plain stat fails for files beyond 2 GiB.
#ifdef _WIN32
using FileStatus = struct _stat64;
int fileStatus(const char* path, FileStatus& status) { return _stat64(path, &status); }
#else
using FileStatus = struct stat;
int fileStatus(const char* path, FileStatus& status) { return stat(path, &status); }
#endif

}  // namespace

const char* encodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Ascii: return "ASCII";
        case Encoding::Utf8: return "UTF-8";
        case Encoding::Utf8WithBom: return "UTF-8 with BOM";
        case Encoding::Utf16LeWithBom: return "UTF-16LE with BOM";
        case Encoding::Utf16BeWithBom: return "UTF-16BE with BOM";
        case Encoding::Latin1: return "Latin-1";
    }
    return "unknown";
}

std::optional<DecodedText> decodeText(std::string_view raw) {
    if (raw.starts_with("\xEF\xBB\xBF")) {
        return withEncoding(Encoding::Utf8WithBom, decodeUtf8Lenient(raw.substr(3)));
    }
    if (raw.starts_with("\xFF\xFE")) {
        return withEncoding(Encoding::Utf16LeWithBom, decodeUtf16(raw.substr(2), true));
    }
    if (raw.starts_with("\xFE\xFF")) {
        return withEncoding(Encoding::Utf16BeWithBom, decodeUtf16(raw.substr(2), false));
    }
    bool pureAscii = false;
    if (std::optional<std::string> text = decodeUtf8Strict(raw, pureAscii)) {
        return DecodedText{pureAscii ? Encoding::Ascii : Encoding::Utf8, std::move(*text)};
    }
    // Not valid UTF-8: an 8-bit document, unless it holds binary controls.
    return withEncoding(Encoding::Latin1, decodeLatin1(raw));
}

ResultCode loadDocument(const char* path, TextDocument& document) {
    if (path == nullptr) return kInvalidArgument;
    FileStatus status;
    if (fileStatus(path, status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? kMissingFile : kUnreadableFile;
    }
    if (S_ISDIR(status.st_mode)) return kUnreadableFile;
    if (status.st_size > kMaxDocumentBytes) return kTooLarge;

    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return kUnreadableFile;
    std::string raw;
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        raw.append(block, got);
        if (static_cast<std::int64_t>(raw.size()) > kMaxDocumentBytes) return kTooLarge;
    }
    if (std::ferror(file.get())) return kUnreadableFile;

    std::optional<DecodedText> decoded = decodeText(raw);
    if (!decoded) return kNotText;
    document.encoding = decoded->encoding;
    document.text = std::move(decoded->utf8);
    document.fileBytes = static_cast<std::int64_t>(raw.size());
    document.modifiedSeconds = static_cast<std::int64_t>(status.st_mtime);
    return kOk;
}

ResultCode writeTextFile(const char* path, std::string_view text) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wb"));
    if (!file) return kOutputNotWritable;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = std::fclose(file.release()) == 0;
    return written && closed ? kOk : kOutputNotWritable;
}

std::vector<std::string_view> splitPages(std::string_view text) {
    std::vector<std::string_view> pages;
    std::size_t start = 0;
    for (;;) {
        const std::size_t formFeed = text.find('\f', start);
        if (formFeed == std::string_view::npos) {
            if (start < text.size() || pages.empty()) pages.push_back(text.substr(start));
            return pages;
        }
        pages.push_back(text.substr(start, formFeed - start));
        start = formFeed + 1;
    }
}

std::string_view firstNonEmptyLine(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !isLineBreak(text[end])) ++end;
        std::string_view line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(kLineWhiteSpace);
        if (first != std::string_view::npos) {
            const std::size_t last = line.find_last_not_of(kLineWhiteSpace);
            return line.substr(first, last - first + 1);
        }
        start = end + 1;
    }
    return {};
}

std::size_t countParagraphs(std::string_view text) {
    std::size_t paragraphs = 0;
    bool inParagraph = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text[i])) continue;
        if (isBlank(text.substr(start, i - start))) {
            inParagraph = false;
        } else if (!inParagraph) {
            ++paragraphs;
            inParagraph = true;
        }
        if (i < text.size() && text[i] == '\f') inParagraph = false;
        start = i + 1;
    }
    return paragraphs;
}

std::string formatUtcTime(std::int64_t secondsSinceEpoch) {
    using namespace std::chrono;
    const sys_seconds when{seconds{secondsSinceEpoch}};
    const sys_days day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{when - day};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::string_view baseName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void copyToSlot(char* slot, std::size_t slotBytes, std::string_view text) {
    std::string encoded;
    std::size_t used = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = nextUtf8(text, pos).value_or(kReplacementCharacter);
        if (c == 0 || c > 0xFFFF) c = kReplacementCharacter;
        encoded.clear();
        appendUtf8(encoded, c);
        if (used + encoded.size() >= slotBytes) break;
        std::memcpy(slot + used, encoded.data(), encoded.size());
        used += encoded.size();
    }
    slot[used] = '\0';
}

}  // namespace rvx::demo
