// A plain-text document as the demonstration engine sees it: its encoding,
// its text converted to UTF-8, and what the file system says about it.
#ifndef RVX_ENGINES_DEMO_TEXT_DOCUMENT_H
#define RVX_ENGINES_DEMO_TEXT_DOCUMENT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/demo/result_codes.h"

namespace rvx::demo {

enum class Encoding { Ascii, Utf8, Utf8WithBom, Utf16LeWithBom, Utf16BeWithBom, Latin1 };

// The name the engine reports as the document's sub-format.
const char* encodingName(Encoding encoding);

struct DecodedText {
    Encoding encoding;
    std::string utf8;  // the document's text without its byte-order mark
};

// Detects the encoding of raw document bytes and converts them to UTF-8.
// A byte-order mark decides UTF-8 or UTF-16; without one, bytes that are
// valid UTF-8 are ASCII or UTF-8, anything else is read as Latin-1. Returns
// nothing when the bytes are not text: a NUL or another control character
// that text does not hold, or UTF-16 of odd length.
std::optional<DecodedText> decodeText(std::string_view raw);

struct TextDocument {
    Encoding encoding = Encoding::Ascii;
    std::int64_t fileBytes = 0;
    std::int64_t modifiedSeconds = 0;  // since 1970-01-01 UTC
    std::string text;                  // UTF-8, pages separated by form feeds
};

// Reads and decodes the document at path; returns kOk or the failure's code.
ResultCode loadDocument(const char* path, TextDocument& document);

// Writes text as the whole content of the file at path; returns kOk or
// kOutputNotWritable.
ResultCode writeTextFile(const char* path, std::string_view text);

// The pages of a text: the pieces between form feeds. A final form feed
// ends the last page rather than opening an empty one; an empty text is one
// empty page.
std::vector<std::string_view> splitPages(std::string_view text);

// The first line holding more than white space, without its surrounding
// white space; empty when there is none.
std::string_view firstNonEmptyLine(std::string_view text);

// Paragraphs are runs of non-blank lines; blank lines and form feeds end them.
std::size_t countParagraphs(std::string_view text);

// "YYYY-MM-DDTHH:MM:SSZ" for a time in seconds since 1970-01-01 UTC.
std::string formatUtcTime(std::int64_t secondsSinceEpoch);

// The file-name part of a path (after the last '/' or '\\').
std::string_view baseName(std::string_view path);

// Copies text into a property slot of slotBytes bytes so that the result is
// NUL-terminated within the slot and reads the same as UTF-8 and as the
// modified UTF-8 of the Java Native Interface: invalid bytes and characters
// beyond U+FFFF become U+FFFD, and text that does not fit is cut before the
// character that would overflow.
void copyToSlot(char* slot, std::size_t slotBytes, std::string_view text);

}  // namespace rvx::demo

#endif
