// The sixteen engine operations of the scripted stand-in engine and its C
// control functions.
#include "engines/scripted/scripted_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace scripted {

Script& script() {
    thread_local Script current;
    return current;
}

Report& report() {
    thread_local Report current;
    return current;
}

namespace {

std::optional<std::string> argument(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

template <typename Value>
void appendValue(std::string& bytes, Value value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string textInfoBytes(const rvx::TextInfoRecV4& info) {
    return std::string(reinterpret_cast<const char*>(&info), sizeof info);
}

std::string textInfoBytes(const rvx::TextInfoRecV3& info) {
    std::string bytes(info.groupName, 256);
    bytes.append(info.defLangName, 256);
    appendValue(bytes, info.bigEndian);
    appendValue(bytes, info.option);
    appendValue(bytes, info.option1);
    appendValue(bytes, info.size);
    appendValue(bytes, info.csvC);
    appendValue(bytes, info.reserved);
    return bytes;
}

// Starts the report of a new operation.
Report& begin(std::int32_t ordinal, const char* in) {
    Report& current = report();
    const std::int32_t calls = current.calls;
    current = Report{};
    current.operation = ordinal;
    current.calls = calls + 1;
    current.in = argument(in);
    return current;
}

template <typename Info>
Report& beginText(std::int32_t ordinal, const char* in, const char* out, const Info* info) {
    Report& current = begin(ordinal, in);
    current.out = argument(out);
    if (info != nullptr) {
        current.textInfo = textInfoBytes(*info);
    }
    return current;
}

void handlePage(Report& current, std::int32_t* page) {
    current.pageOnEntry = *page;
    if (script().storePage) {
        *page = script().storedPage;
    }
}

// Writes the scripted text into the output file, when there is text.
void writeOutputFile(const char* out) {
    const std::string& text = script().text;
    if (text.empty() || out == nullptr || *out == '\0') {
        return;
    }
    if (std::FILE* file = std::fopen(out, "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

// Calls the protected overflow of a stream buffer, as a class derived from
// the standard stream buffer may.
struct OverflowCaller : std::streambuf {
    static int_type call(std::streambuf& buffer, int_type value) {
        return (buffer.*(&OverflowCaller::overflow))(value);
    }
};

// Empties the stream at a flush point: by flushing it, or by handing its
// buffer end-of-file, whose answer end-of-file would fail the stream.
void emptyStream(std::ostream* out) {
    if (!script().flushWithEndOfFile) {
        out->flush();
        return;
    }
    using Traits = std::ostream::traits_type;
    if (Traits::eq_int_type(OverflowCaller::call(*out->rdbuf(), Traits::eof()), Traits::eof())) {
        out->setstate(std::ios_base::badbit);
    }
}

// Writes the scripted text into the stream, emptying it after each scripted
// byte count, then asks the stream for its position and to move.
void writeStream(Report& current, std::ostream* out) {
    const std::string& text = script().text;
    std::size_t written = 0;
    for (const std::int32_t flushPoint : script().flushAfter) {
        const auto end = std::min(text.size(), static_cast<std::size_t>(flushPoint));
        if (end > written) {
            out->write(text.data() + written, static_cast<std::streamsize>(end - written));
            written = end;
        }
        emptyStream(out);
    }
    out->write(text.data() + written, static_cast<std::streamsize>(text.size() - written));
    current.tellp = static_cast<std::int64_t>(out->tellp());
    current.seekpos = static_cast<std::int64_t>(out->rdbuf()->pubseekpos(7, std::ios_base::out));
    current.streamTextWritten = true;
}

template <typename Record>
void fillRecord(Report& current, Record* record) {
    const auto* bytes = reinterpret_cast<unsigned char*>(record);
    current.recordWasZero = std::all_of(bytes, bytes + sizeof *record,
                                        [](unsigned char byte) { return byte == 0; });
    const std::string& scripted = script().record;
    std::memcpy(record, scripted.data(), std::min(scripted.size(), sizeof *record));
}

}  // namespace
}  // namespace scripted

using scripted::begin;
using scripted::beginText;
using scripted::script;

extern "C" {

std::int32_t RVX_ENGINE_CALL rvxFileInfoV3(const char* in, rvx::FileInfoRec* info) {
    scripted::fillRecord(begin(301, in), info);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxFileInfoV4(const char* in, rvx::FileInfoRec* info) {
    scripted::fillRecord(begin(401, in), info);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxTextV3(const char* in, const char* out, rvx::TextInfoRecV3* info) {
    beginText(302, in, out, info);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPageTextV3(const char* in, const char* out,
                                           rvx::TextInfoRecV3* info, std::int32_t* page) {
    scripted::handlePage(beginText(303, in, out, info), page);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdTextV3(const char* in, const char* out,
                                          rvx::TextInfoRecV3* info, const char* pwd) {
    beginText(305, in, out, info).pwd = scripted::argument(pwd);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV3(const char* in, const char* out,
                                              rvx::TextInfoRecV3* info, std::int32_t* page,
                                              const char* pwd) {
    scripted::Report& current = beginText(306, in, out, info);
    current.pwd = scripted::argument(pwd);
    scripted::handlePage(current, page);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxTextV4(const char* in, const char* out, rvx::TextInfoRecV4* info,
                                       void* reserved) {
    beginText(402, in, out, info).reservedWasNull = reserved == nullptr;
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPageTextV4(const char* in, const char* out,
                                           rvx::TextInfoRecV4* info, std::int32_t* page,
                                           void* reserved) {
    scripted::Report& current = beginText(403, in, out, info);
    current.reservedWasNull = reserved == nullptr;
    scripted::handlePage(current, page);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdTextV4(const char* in, const char* out,
                                          rvx::TextInfoRecV4* info, const char* pwd,
                                          void* reserved) {
    scripted::Report& current = beginText(405, in, out, info);
    current.pwd = scripted::argument(pwd);
    current.reservedWasNull = reserved == nullptr;
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV4(const char* in, const char* out,
                                              rvx::TextInfoRecV4* info, std::int32_t* page,
                                              const char* pwd, void* reserved) {
    scripted::Report& current = beginText(406, in, out, info);
    current.pwd = scripted::argument(pwd);
    current.reservedWasNull = reserved == nullptr;
    scripted::handlePage(current, page);
    scripted::writeOutputFile(out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPropertyV3(const char* in, rvx::TextInfoRecV3* info,
                                           rvx::PropertyRec* props) {
    scripted::fillRecord(beginText(304, in, nullptr, info), props);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPropertyV4(const char* in, rvx::TextInfoRecV4* info,
                                           rvx::PropertyRec* props) {
    scripted::fillRecord(beginText(404, in, nullptr, info), props);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV3(const char* in, rvx::TextInfoRecV3* info,
                                              rvx::PropertyRec* props, const char* pwd) {
    scripted::Report& current = beginText(307, in, nullptr, info);
    current.pwd = scripted::argument(pwd);
    scripted::fillRecord(current, props);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV4(const char* in, rvx::TextInfoRecV4* info,
                                              rvx::PropertyRec* props, const char* pwd) {
    scripted::Report& current = beginText(407, in, nullptr, info);
    current.pwd = scripted::argument(pwd);
    scripted::fillRecord(current, props);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxTextStreamV4(const char* in, std::ostream* out,
                                             rvx::TextInfoRecV4* info, void* reserved) {
    scripted::Report& current = beginText(420, in, nullptr, info);
    current.reservedWasNull = reserved == nullptr;
    scripted::writeStream(current, out);
    return script().result;
}

std::int32_t RVX_ENGINE_CALL rvxPageTextStreamV4(const char* in, std::ostream* out,
                                                 rvx::TextInfoRecV4* info, std::int32_t* page,
                                                 void* reserved) {
    scripted::Report& current = beginText(421, in, nullptr, info);
    current.reservedWasNull = reserved == nullptr;
    scripted::handlePage(current, page);
    scripted::writeStream(current, out);
    return script().result;
}

void scriptedReset(void) {
    script() = scripted::Script{};
    scripted::report() = scripted::Report{};
}

void scriptedSetResult(std::int32_t result) { script().result = result; }

void scriptedSetStoredPage(std::int32_t page) {
    script().storePage = true;
    script().storedPage = page;
}

void scriptedSetText(const char* bytes, std::int32_t length, const std::int32_t* flushAfter,
                     std::int32_t flushCount) {
    script().text.assign(bytes, static_cast<std::size_t>(length));
    script().flushAfter.assign(flushAfter, flushAfter + flushCount);
}

void scriptedSetRecord(const void* bytes, std::int32_t length) {
    script().record.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

std::int32_t scriptedLastOperation(void) { return scripted::report().operation; }

std::int32_t scriptedCalls(void) { return scripted::report().calls; }

std::int32_t scriptedLastArgument(std::int32_t which, char* buffer, std::int32_t capacity) {
    const scripted::Report& current = scripted::report();
    const std::optional<std::string>* arguments[] = {&current.in, &current.out, &current.pwd};
    if (which < 0 || which > 2 || !*arguments[which]) {
        return -1;
    }
    const std::string& value = **arguments[which];
    if (value.size() > static_cast<std::size_t>(capacity)) {
        return -1;
    }
    std::memcpy(buffer, value.data(), value.size());
    return static_cast<std::int32_t>(value.size());
}

std::int32_t scriptedLastTextInfo(unsigned char* buffer) {
    const auto& info = scripted::report().textInfo;
    if (!info) {
        return 0;
    }
    std::memcpy(buffer, info->data(), info->size());
    return 1;
}

std::int32_t scriptedLastPageOnEntry(void) { return scripted::report().pageOnEntry.value_or(0); }

std::int32_t scriptedLastReservedWasNull(void) { return scripted::report().reservedWasNull; }

std::int32_t scriptedLastRecordWasZero(void) { return scripted::report().recordWasZero; }

std::int64_t scriptedLastTellp(void) { return scripted::report().tellp.value_or(0); }

std::int64_t scriptedLastSeekpos(void) { return scripted::report().seekpos.value_or(0); }

}  // extern "C"
