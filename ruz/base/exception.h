#ifndef RUZ_BASE_EXCEPTION_H
#define RUZ_BASE_EXCEPTION_H

#include <cstdint>
#include <source_location>

#include "ruz/base/object.h"

namespace RUZ {

// Root of every failure the library reports. `file` names the raising source
// family (for instance "ruz/base/flow") and points to static storage; copies
// share it.
class Exception : public Object {
public:
    Exception(const char* file, std::int32_t line) : file(file), line(line) {}

    const char* file;
    std::int32_t line;
};

// Failures of flows, filters, the text reader and the text writer.
class IOException : public Exception {
public:
    enum Code : std::int32_t {
        EndOfFlow = 1,
        WriteFailed = 2,
        NotOpen = 3,
        Unsupported = 5,
        InputNotConnected = 6,
        OutputNotConnected = 7,
        IoError = 8,
        BadArgument = 10,
    };

    IOException(const char* file, std::int32_t line, std::int32_t code)
        : Exception(file, line), code(code) {}

    std::int32_t code;
};

// Failures of the format-string engine.
class FmtException : public Exception {
public:
    enum Code : std::int32_t {
        MissingArgument = 0,
        WrongArgumentKind = 1,
        UnknownConversion = 4,
    };

    FmtException(const char* file, std::int32_t line, std::int32_t code)
        : Exception(file, line), code(code) {}

    std::int32_t code;
};

// Names of the source families that raise exceptions; the name is part of
// every exception and outlives the program's use of it.
namespace SourceFile {
inline constexpr const char flow[] = "ruz/base/flow";
inline constexpr const char fileflow[] = "ruz/base/fileflow";
inline constexpr const char filter[] = "ruz/base/filter";
inline constexpr const char strflow[] = "ruz/base/strflow";
inline constexpr const char textfilter[] = "ruz/base/textfilter";
inline constexpr const char formatter[] = "ruz/base/formatter";
}  // namespace SourceFile

// Throws an IOException of the given family and code, recording the line of
// the call site.
[[noreturn]] inline void raiseIO(const char* file, std::int32_t code,
                                 std::source_location at = std::source_location::current()) {
    throw IOException(file, static_cast<std::int32_t>(at.line()), code);
}

// Throws a FmtException from the formatter, recording the call site's line.
[[noreturn]] inline void raiseFmt(std::int32_t code,
                                  std::source_location at = std::source_location::current()) {
    throw FmtException(SourceFile::formatter, static_cast<std::int32_t>(at.line()), code);
}

}  // namespace RUZ

#endif
