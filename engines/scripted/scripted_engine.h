// A stand-in for the engine rvx_txif, used only by the bridge's tests. Each
// thread scripts what the next operations do (result code, value stored
// through the page pointer, text written, record contents) and reads back
// what the last operation received.
#ifndef RVX_ENGINES_SCRIPTED_ENGINE_H
#define RVX_ENGINES_SCRIPTED_ENGINE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bridge/engine.h"

#if defined(_WIN32)
#define RVX_SCRIPTED_API __declspec(dllexport)
#else
#define RVX_SCRIPTED_API __attribute__((visibility("default")))
#endif

namespace scripted {

// What the operations of the calling thread do until the script changes.
struct Script {
    std::int32_t result = 0;
    bool storePage = false;     // store storedPage through the page pointer
    std::int32_t storedPage = 0;
    std::string text;           // written to the output file or stream
    std::vector<std::int32_t> flushAfter;  // stream flushed after these many bytes
    bool flushWithEndOfFile = false;  // instead, the buffer is handed end-of-file there
    std::string record;         // copied to the start of the record to fill
};

// What the last operation of the calling thread received.
struct Report {
    std::int32_t operation = 0;  // its ordinal; 0 before the first call
    std::int32_t calls = 0;
    std::optional<std::string> in;
    std::optional<std::string> out;
    std::optional<std::string> pwd;
    // The text information in the 532-byte layout of TextInfoRecV4; for V3
    // the 256 bytes of each name buffer take the place of the name fields.
    std::optional<std::string> textInfo;
    std::optional<std::int32_t> pageOnEntry;
    bool reservedWasNull = false;
    bool recordWasZero = false;  // the record to fill held only zero bytes
    // What the stream answered, after the text was written, to tellp() and
    // to a request to move to position 7.
    std::optional<std::int64_t> tellp;
    std::optional<std::int64_t> seekpos;
    // The stream operation has written all its text; what reaches Java
    // after this was delivered when the operation ended, not while it wrote.
    bool streamTextWritten = false;
};

Script& script();
Report& report();

}  // namespace scripted

// The same control through plain C functions, for test programs that load
// the engine without a JVM.
extern "C" {

RVX_SCRIPTED_API void scriptedReset(void);
RVX_SCRIPTED_API void scriptedSetResult(std::int32_t result);
RVX_SCRIPTED_API void scriptedSetStoredPage(std::int32_t page);
RVX_SCRIPTED_API void scriptedSetText(const char* bytes, std::int32_t length,
                                      const std::int32_t* flushAfter, std::int32_t flushCount);
RVX_SCRIPTED_API void scriptedSetRecord(const void* bytes, std::int32_t length);

RVX_SCRIPTED_API std::int32_t scriptedLastOperation(void);
RVX_SCRIPTED_API std::int32_t scriptedCalls(void);
// Copies argument 0 (in), 1 (out) or 2 (pwd) of the last operation into
// buffer and returns its length, or -1 when the operation had no such
// argument or the buffer is too small.
RVX_SCRIPTED_API std::int32_t scriptedLastArgument(std::int32_t which, char* buffer,
                                                   std::int32_t capacity);
// Copies the 532 bytes of the last text information; 0 when there was none.
RVX_SCRIPTED_API std::int32_t scriptedLastTextInfo(unsigned char* buffer);
RVX_SCRIPTED_API std::int32_t scriptedLastPageOnEntry(void);
RVX_SCRIPTED_API std::int32_t scriptedLastReservedWasNull(void);
RVX_SCRIPTED_API std::int32_t scriptedLastRecordWasZero(void);
// The stream's answers to tellp() and to moving to position 7; 0 when the
// last operation had no stream.
RVX_SCRIPTED_API std::int64_t scriptedLastTellp(void);
RVX_SCRIPTED_API std::int64_t scriptedLastSeekpos(void);

}  // extern "C"

#endif
