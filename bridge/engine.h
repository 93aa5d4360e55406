// The text-extraction engine rvx_txif as the bridge sees it: its records and
// its sixteen operations. Every operation returns 0 for success or an engine
// error code; every pointer it receives is valid only during the call.
//
// On 32-bit Windows the operations are __stdcall and bound by ordinal only
// (the ordinal is given beside each declaration); the symbol names exist for
// the import library and for ELF platforms, which have no ordinals. The
// build takes the ordinals and argument sizes from bridge/engine_ordinals.cmake.
#ifndef RVX_BRIDGE_ENGINE_H
#define RVX_BRIDGE_ENGINE_H

#include <cstddef>
#include <cstdint>
#include <ostream>

#if defined(_WIN32) && !defined(_WIN64)
#define RVX_ENGINE_CALL __stdcall
#else
#define RVX_ENGINE_CALL
#endif

#if defined(RVX_ENGINE_BUILD) && defined(_WIN32)
#define RVX_ENGINE_API __declspec(dllexport)
#elif defined(RVX_ENGINE_BUILD)
#define RVX_ENGINE_API __attribute__((visibility("default")))
#else
#define RVX_ENGINE_API
#endif

namespace rvx {

// Text information of the V4 operations; also the bridge's working copy for V3.
struct TextInfoRecV4 {
    char groupName[256];    // NUL-terminated
    char defLangName[256];  // NUL-terminated
    std::int32_t bigEndian;
    std::int32_t option;
    std::int32_t option1;
    std::int32_t size;
    std::uint16_t csvC;
    std::uint16_t reserved;
};

// Text information of the V3 operations: the names live in two 256-byte heap
// buffers owned by the bridge.
struct TextInfoRecV3 {
    char* groupName;
    char* defLangName;
    std::int32_t bigEndian;
    std::int32_t option;
    std::int32_t option1;
    std::int32_t size;
    std::uint16_t csvC;
    std::uint16_t reserved;
};

// Filled by the file-information operations.
struct FileInfoRec {
    char docFormat[128];     // NUL-terminated
    char docSubFormat[128];  // NUL-terminated
    char docCountry[32];     // NUL-terminated
    std::int32_t first;
    std::int32_t second;
};

inline constexpr std::size_t kLongPropertySlot = 1028;
inline constexpr std::size_t kShortPropertySlot = 256;
inline constexpr std::size_t kFlagPropertySlot = 32;

// Filled by the property operations: 67 NUL-terminated strings, each at the
// start of its slot.
struct PropertyRec {
    char title[kLongPropertySlot];
    char author[kLongPropertySlot];
    char keyword[kLongPropertySlot];
    char subject[kLongPropertySlot];
    char comment[kLongPropertySlot];
    char manager[kLongPropertySlot];
    char company[kLongPropertySlot];
    char category[kLongPropertySlot];
    char createdate[kShortPropertySlot];
    char revision[kLongPropertySlot];
    char lastrevisor[kLongPropertySlot];
    char revisioncount[kShortPropertySlot];
    char lastprintdate[kShortPropertySlot];
    char edittime[kShortPropertySlot];
    char creator[kLongPropertySlot];
    char producer[kLongPropertySlot];
    char encryptionflag[kFlagPropertySlot];
    char slides[kShortPropertySlot];
    char paragraphs[kShortPropertySlot];
    char bytes[kShortPropertySlot];
    char notes[kShortPropertySlot];
    char presentation[kLongPropertySlot];
    char doctype[kShortPropertySlot];
    char lastsavetime[kShortPropertySlot];
    char owner[kShortPropertySlot];
    char m_abstract[kShortPropertySlot];
    char account[kShortPropertySlot];
    char address[kShortPropertySlot];
    char attachments[kShortPropertySlot];
    char authorization[kShortPropertySlot];
    char bill_to[kShortPropertySlot];
    char blind_copy[kShortPropertySlot];
    char carbon_copy[kShortPropertySlot];
    char checked_by[kShortPropertySlot];
    char client[kShortPropertySlot];
    char department[kShortPropertySlot];
    char descriptive_name[kShortPropertySlot];
    char descriptive_type[kShortPropertySlot];
    char destination[kShortPropertySlot];
    char disposition[kShortPropertySlot];
    char division[kShortPropertySlot];
    char document_number[kShortPropertySlot];
    char editor[kShortPropertySlot];
    char forward_to[kShortPropertySlot];
    char group[kShortPropertySlot];
    char language[kShortPropertySlot];
    char mail_stop[kShortPropertySlot];
    char matter[kShortPropertySlot];
    char office[kShortPropertySlot];
    char project[kShortPropertySlot];
    char publisher[kShortPropertySlot];
    char purpose[kShortPropertySlot];
    char received_from[kShortPropertySlot];
    char recorded_by[kShortPropertySlot];
    char recorded_date[kShortPropertySlot];
    char reference[kShortPropertySlot];
    char revision_date[kShortPropertySlot];
    char revision_notes[kShortPropertySlot];
    char section[kShortPropertySlot];
    char security[kShortPropertySlot];
    char source[kShortPropertySlot];
    char status[kShortPropertySlot];
    char telephone_number[kShortPropertySlot];
    char typist[kShortPropertySlot];
    char version_date[kShortPropertySlot];
    char version_notes[kShortPropertySlot];
    char version_number[kShortPropertySlot];
};

static_assert(sizeof(TextInfoRecV4) == 532);
static_assert(offsetof(TextInfoRecV4, defLangName) == 256);
static_assert(offsetof(TextInfoRecV4, bigEndian) == 512);
static_assert(offsetof(TextInfoRecV4, option) == 516);
static_assert(offsetof(TextInfoRecV4, option1) == 520);
static_assert(offsetof(TextInfoRecV4, size) == 524);
static_assert(offsetof(TextInfoRecV4, csvC) == 528);
static_assert(sizeof(FileInfoRec) == 296);
static_assert(offsetof(FileInfoRec, docSubFormat) == 128);
static_assert(offsetof(FileInfoRec, docCountry) == 256);
static_assert(offsetof(FileInfoRec, first) == 288);
static_assert(offsetof(FileInfoRec, second) == 292);
static_assert(sizeof(PropertyRec) == 26964);
static_assert(offsetof(PropertyRec, createdate) == 8224);
static_assert(offsetof(PropertyRec, encryptionflag) == 13360);
static_assert(offsetof(PropertyRec, slides) == 13392);
static_assert(offsetof(PropertyRec, presentation) == 14416);
static_assert(offsetof(PropertyRec, doctype) == 15444);
static_assert(offsetof(PropertyRec, version_number) == 26708);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TextInfoRecV3) == 28);
static_assert(offsetof(TextInfoRecV3, defLangName) == 4);
static_assert(offsetof(TextInfoRecV3, bigEndian) == 8);
static_assert(offsetof(TextInfoRecV3, option) == 12);
static_assert(offsetof(TextInfoRecV3, option1) == 16);
static_assert(offsetof(TextInfoRecV3, size) == 20);
static_assert(offsetof(TextInfoRecV3, csvC) == 24);
#endif

}  // namespace rvx

extern "C" {

// 301 / 401: file information.
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxFileInfoV3(const char* in, rvx::FileInfoRec* info);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxFileInfoV4(const char* in, rvx::FileInfoRec* info);

// 302, 303, 305, 306: text of a document or page into a file, V3.
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextV3(const char* in, const char* out,
                                                      rvx::TextInfoRecV3* info);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextV3(const char* in, const char* out,
                                                          rvx::TextInfoRecV3* info,
                                                          std::int32_t* page);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdTextV3(const char* in, const char* out,
                                                         rvx::TextInfoRecV3* info,
                                                         const char* pwd);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV3(const char* in, const char* out,
                                                             rvx::TextInfoRecV3* info,
                                                             std::int32_t* page, const char* pwd);

// 402, 403, 405, 406: the same, V4, each with a trailing null pointer.
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextV4(const char* in, const char* out,
                                                      rvx::TextInfoRecV4* info, void* reserved);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextV4(const char* in, const char* out,
                                                          rvx::TextInfoRecV4* info,
                                                          std::int32_t* page, void* reserved);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdTextV4(const char* in, const char* out,
                                                         rvx::TextInfoRecV4* info,
                                                         const char* pwd, void* reserved);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPageTextV4(const char* in, const char* out,
                                                             rvx::TextInfoRecV4* info,
                                                             std::int32_t* page, const char* pwd,
                                                             void* reserved);

// 304 / 404, 307 / 407: document properties.
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPropertyV3(const char* in, rvx::TextInfoRecV3* info,
                                                          rvx::PropertyRec* props);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPropertyV4(const char* in, rvx::TextInfoRecV4* info,
                                                          rvx::PropertyRec* props);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV3(const char* in,
                                                             rvx::TextInfoRecV3* info,
                                                             rvx::PropertyRec* props,
                                                             const char* pwd);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPwdPropertyV4(const char* in,
                                                             rvx::TextInfoRecV4* info,
                                                             rvx::PropertyRec* props,
                                                             const char* pwd);

// 420 / 421: text into a standard narrow output stream.
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxTextStreamV4(const char* in, std::ostream* out,
                                                            rvx::TextInfoRecV4* info,
                                                            void* reserved);
RVX_ENGINE_API std::int32_t RVX_ENGINE_CALL rvxPageTextStreamV4(const char* in, std::ostream* out,
                                                                rvx::TextInfoRecV4* info,
                                                                std::int32_t* page,
                                                                void* reserved);

}  // extern "C"

#endif
