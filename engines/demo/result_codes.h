// Result codes of the demonstration engine. Every operation returns one of
// them; the bridge hands them to Java unchanged.
//
//   code  name                meaning
//   ----  ------------------  ----------------------------------------------
//      0  kOk                 success
//      1  kMissingFile        the input document does not exist
//      2  kUnreadableFile     the input exists but cannot be read (a folder,
//                             no permission, a read error)
//      3  kNotText            the input is not a plain-text document (NUL or
//                             other binary control bytes, odd-length UTF-16)
//      4  kPageOutOfRange     the page number is below 0 or above the number
//                             of pages
//      5  kOutputNotWritable  the output file cannot be created or written
//      6  kInvalidArgument    a required pointer is null
//      7  kTooLarge           the document is larger than kMaxDocumentBytes
//      8  kStreamFailed       the output stream reported an error
//      9  kInternalError      the engine ran out of memory or failed inside
#ifndef RVX_ENGINES_DEMO_RESULT_CODES_H
#define RVX_ENGINES_DEMO_RESULT_CODES_H

#include <cstdint>

namespace rvx::demo {

enum ResultCode : std::int32_t {
    kOk = 0,
    kMissingFile = 1,
    kUnreadableFile = 2,
    kNotText = 3,
    kPageOutOfRange = 4,
    kOutputNotWritable = 5,
    kInvalidArgument = 6,
    kTooLarge = 7,
    kStreamFailed = 8,
    kInternalError = 9,
};

// Documents are read whole into memory; larger ones are refused.
inline constexpr std::int64_t kMaxDocumentBytes = 64 * 1024 * 1024;

}  // namespace rvx::demo

#endif
