// The demonstration engine: the sixteen operations of bridge/engine.h served
// for plain-text documents. Every operation reads the document afresh and
// keeps nothing between calls, so any number of threads may call it at once.
//
// The engine reads none of the text-information values and no password:
// plain text has neither options nor protection, so the password operations
// behave as the plain ones. Text always leaves the engine as UTF-8.
//
// Result codes: engines/demo/result_codes.h.
#include <cstring>
#include <ostream>
#include <string>

#include "bridge/engine.h"
#include "engines/demo/result_codes.h"
#include "engines/demo/text_document.h"

namespace {

using namespace rvx::demo;

constexpr std::string_view kFormatName = "Plain text";
// Plain text records no country.
constexpr std::string_view kCountry = "unknown";

// No C++ exception may cross the C interface; running out of memory on a
// large document is the only one expected.
template <class Operation>
std::int32_t guarded(Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return kInternalError;
    }
}

template <std::size_t N>
void setSlot(char (&slot)[N], std::string_view text) {
    copyToSlot(slot, N, text);
}

// What a text operation asks for: the whole document, or one page, where
// page 0 asks for the number of pages instead of text.
struct Extraction {
    TextDocument document;
    std::string_view text;
    bool hasText = false;
};

// A null page pointer selects the whole document.
ResultCode extract(const char* in, std::int32_t* page, Extraction& result) {
    if (const ResultCode code = loadDocument(in, result.document); code != kOk) return code;
    if (page == nullptr) {
        result.text = result.document.text;
        result.hasText = true;
        return kOk;
    }
    const std::vector<std::string_view> pages = splitPages(result.document.text);
    if (*page == 0) {
        *page = static_cast<std::int32_t>(pages.size());
        return kOk;
    }
    if (*page < 0 || static_cast<std::size_t>(*page) > pages.size()) return kPageOutOfRange;
    result.text = pages[static_cast<std::size_t>(*page) - 1];
    result.hasText = true;
    return kOk;
}

// Page 0 only counts: no output file is made.
std::int32_t textToFile(const char* in, const char* out, std::int32_t* page) {
    return guarded([&]() -> std::int32_t {
        if (out == nullptr) return kInvalidArgument;
        Extraction extraction;
        if (const ResultCode code = extract(in, page, extraction); code != kOk) return code;
        return extraction.hasText ? writeTextFile(out, extraction.text) : kOk;
    });
}

std::int32_t textToStream(const char* in, std::ostream* out, std::int32_t* page) {
    return guarded([&]() -> std::int32_t {
        if (out == nullptr) return kInvalidArgument;
        Extraction extraction;
        if (const ResultCode code = extract(in, page, extraction); code != kOk) return code;
        if (extraction.hasText) {
            out->write(extraction.text.data(),
                       static_cast<std::streamsize>(extraction.text.size()));
        }
        return out->good() ? kOk : kStreamFailed;
    });
}

std::int32_t pageText(const char* in, const char* out, std::int32_t* page) {
    return page == nullptr ? kInvalidArgument : textToFile(in, out, page);
}

std::int32_t pageTextToStream(const char* in, std::ostream* out, std::int32_t* page) {
    return page == nullptr ? kInvalidArgument : textToStream(in, out, page);
}

// Integers: the file's size in bytes and its number of pages.
std::int32_t fileInformation(const char* in, rvx::FileInfoRec* info) {
    return guarded([&]() -> std::int32_t {
        if (info == nullptr) return kInvalidArgument;
        TextDocument document;
        if (const ResultCode code = loadDocument(in, document); code != kOk) return code;
        std::memset(info, 0, sizeof *info);
        setSlot(info->docFormat, kFormatName);
        setSlot(info->docSubFormat, encodingName(document.encoding));
        setSlot(info->docCountry, kCountry);
        info->first = static_cast<std::int32_t>(document.fileBytes);
        info->second = static_cast<std::int32_t>(splitPages(document.text).size());
        return kOk;
    });
}

// The record is cleared first, so after a failure every slot is empty.
std::int32_t properties(const char* in, rvx::PropertyRec* props) {
    return guarded([&]() -> std::int32_t {
        if (props == nullptr) return kInvalidArgument;
        std::memset(props, 0, sizeof *props);
        TextDocument document;
        if (const ResultCode code = loadDocument(in, document); code != kOk) return code;
        setSlot(props->title, firstNonEmptyLine(document.text));
        setSlot(props->paragraphs, std::to_string(countParagraphs(document.text)));
        setSlot(props->bytes, std::to_string(document.fileBytes));
        setSlot(props->lastsavetime, formatUtcTime(document.modifiedSeconds));
        setSlot(props->doctype, kFormatName);
        setSlot(props->descriptive_type,
                std::string(kFormatName) + ", " + encodingName(document.encoding));
        setSlot(props->descriptive_name, baseName(in));
        setSlot(props->encryptionflag, "0");
        return kOk;
    });
}

}  // namespace

extern "C" {

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxFileInfoV3(const char* in, rvx::FileInfoRec* info) {
    return fileInformation(in, info);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxFileInfoV4(const char* in, rvx::FileInfoRec* info) {
    return fileInformation(in, info);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextV3(const char* in, const char* out,
                                                      rvx::TextInfoRecV3*) {
    return textToFile(in, out, nullptr);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextV3(const char* in, const char* out,
                                                          rvx::TextInfoRecV3*,
                                                          std::int32_t* page) {
    return pageText(in, out, page);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdTextV3(const char* in, const char* out,
                                                         rvx::TextInfoRecV3*, const char*) {
    return textToFile(in, out, nullptr);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV3(const char* in, const char* out,
                                                             rvx::TextInfoRecV3*,
                                                             std::int32_t* page, const char*) {
    return pageText(in, out, page);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextV4(const char* in, const char* out,
                                                      rvx::TextInfoRecV4*, void*) {
    return textToFile(in, out, nullptr);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextV4(const char* in, const char* out,
                                                          rvx::TextInfoRecV4*,
                                                          std::int32_t* page, void*) {
    return pageText(in, out, page);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdTextV4(const char* in, const char* out,
                                                         rvx::TextInfoRecV4*, const char*,
                                                         void*) {
    return textToFile(in, out, nullptr);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV4(const char* in, const char* out,
                                                             rvx::TextInfoRecV4*,
                                                             std::int32_t* page, const char*,
                                                             void*) {
    return pageText(in, out, page);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPropertyV3(const char* in, rvx::TextInfoRecV3*,
                                                          rvx::PropertyRec* props) {
    return properties(in, props);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPropertyV4(const char* in, rvx::TextInfoRecV4*,
                                                          rvx::PropertyRec* props) {
    return properties(in, props);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV3(const char* in, rvx::TextInfoRecV3*,
                                                             rvx::PropertyRec* props,
                                                             const char*) {
    return properties(in, props);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV4(const char* in, rvx::TextInfoRecV4*,
                                                             rvx::PropertyRec* props,
                                                             const char*) {
    return properties(in, props);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextStreamV4(const char* in, std::ostream* out,
                                                            rvx::TextInfoRecV4*, void*) {
    return textToStream(in, out, nullptr);
}

RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextStreamV4(const char* in, std::ostream* out,
                                                                rvx::TextInfoRecV4*,
                                                                std::int32_t* page, void*) {
    return pageTextToStream(in, out, page);
}

}  // extern "C"
