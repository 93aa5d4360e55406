// Document properties: the engine fills a PropertyRec, the bridge stores its
// 67 strings into the String fields of a Java property object.
#include <jni.h>

#include <cstring>
#include <string_view>

#include "bridge/engine.h"
#include "bridge/field_caches.h"
#include "bridge/frame.h"

namespace rvx {
namespace {

struct PropertySlot {
    const char* name;
    std::size_t bytes;
};

constexpr std::size_t kPropertyCount = 67;

// The slots of a PropertyRec in record order; each Java field has the name
// of its slot.
constexpr std::array<PropertySlot, kPropertyCount> kPropertySlots{{
    {"title", kLongPropertySlot},          {"author", kLongPropertySlot},
    {"keyword", kLongPropertySlot},        {"subject", kLongPropertySlot},
    {"comment", kLongPropertySlot},        {"manager", kLongPropertySlot},
    {"company", kLongPropertySlot},        {"category", kLongPropertySlot},
    {"createdate", kShortPropertySlot},    {"revision", kLongPropertySlot},
    {"lastrevisor", kLongPropertySlot},    {"revisioncount", kShortPropertySlot},
    {"lastprintdate", kShortPropertySlot}, {"edittime", kShortPropertySlot},
    {"creator", kLongPropertySlot},        {"producer", kLongPropertySlot},
    {"encryptionflag", kFlagPropertySlot}, {"slides", kShortPropertySlot},
    {"paragraphs", kShortPropertySlot},    {"bytes", kShortPropertySlot},
    {"notes", kShortPropertySlot},         {"presentation", kLongPropertySlot},
    {"doctype", kShortPropertySlot},       {"lastsavetime", kShortPropertySlot},
    {"owner", kShortPropertySlot},         {"m_abstract", kShortPropertySlot},
    {"account", kShortPropertySlot},       {"address", kShortPropertySlot},
    {"attachments", kShortPropertySlot},   {"authorization", kShortPropertySlot},
    {"bill_to", kShortPropertySlot},       {"blind_copy", kShortPropertySlot},
    {"carbon_copy", kShortPropertySlot},   {"checked_by", kShortPropertySlot},
    {"client", kShortPropertySlot},        {"department", kShortPropertySlot},
    {"descriptive_name", kShortPropertySlot}, {"descriptive_type", kShortPropertySlot},
    {"destination", kShortPropertySlot},   {"disposition", kShortPropertySlot},
    {"division", kShortPropertySlot},      {"document_number", kShortPropertySlot},
    {"editor", kShortPropertySlot},        {"forward_to", kShortPropertySlot},
    {"group", kShortPropertySlot},         {"language", kShortPropertySlot},
    {"mail_stop", kShortPropertySlot},     {"matter", kShortPropertySlot},
    {"office", kShortPropertySlot},        {"project", kShortPropertySlot},
    {"publisher", kShortPropertySlot},     {"purpose", kShortPropertySlot},
    {"received_from", kShortPropertySlot}, {"recorded_by", kShortPropertySlot},
    {"recorded_date", kShortPropertySlot}, {"reference", kShortPropertySlot},
    {"revision_date", kShortPropertySlot}, {"revision_notes", kShortPropertySlot},
    {"section", kShortPropertySlot},       {"security", kShortPropertySlot},
    {"source", kShortPropertySlot},        {"status", kShortPropertySlot},
    {"telephone_number", kShortPropertySlot}, {"typist", kShortPropertySlot},
    {"version_date", kShortPropertySlot},  {"version_notes", kShortPropertySlot},
    {"version_number", kShortPropertySlot},
}};

constexpr std::size_t slotOffset(std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index; ++i) {
        offset += kPropertySlots[i].bytes;
    }
    return offset;
}

// The table and the record agree slot by slot.
static_assert(slotOffset(kPropertyCount) == sizeof(PropertyRec));
static_assert(slotOffset(1) == offsetof(PropertyRec, author));
static_assert(slotOffset(8) == offsetof(PropertyRec, createdate));
static_assert(slotOffset(9) == offsetof(PropertyRec, revision));
static_assert(slotOffset(16) == offsetof(PropertyRec, encryptionflag));
static_assert(slotOffset(21) == offsetof(PropertyRec, presentation));
static_assert(slotOffset(25) == offsetof(PropertyRec, m_abstract));
static_assert(slotOffset(44) == offsetof(PropertyRec, group));
static_assert(slotOffset(66) == offsetof(PropertyRec, version_number));

constexpr std::array<FieldSpec, kPropertyCount> propertyFieldSpecs() {
    std::array<FieldSpec, kPropertyCount> specs{};
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        specs[i] = FieldSpec{kPropertySlots[i].name, "Ljava/lang/String;"};
    }
    return specs;
}

using PropertyCache = FieldCache<kPropertyCount>;

PropertyCache& propertyCacheV3() {
    static PropertyCache cache("quorvel.rvx.v3.RVXProperty", propertyFieldSpecs());
    return cache;
}

PropertyCache& propertyCacheV4() {
    static PropertyCache cache("quorvel.rvx.v4.RVXPropertyV4", propertyFieldSpecs());
    return cache;
}

// The shape of a UTF-8 sequence by its lead byte.
struct SequenceShape {
    std::size_t length;     // 0: the byte starts no valid sequence
    char32_t leadBits;      // the code point bits the lead byte carries
    char32_t minimum;       // smaller values are overlong forms
};

constexpr SequenceShape shapeOf(unsigned char lead) {
    if (lead < 0x80) {
        return {1, lead, 0};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, lead & 0x1Fu, 0x80};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, lead & 0x0Fu, 0x800};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {4, lead & 0x07u, 0x10000};
    }
    return {0, 0, 0};
}

// Length of the valid UTF-8 sequence at text[0], and its code point; 0 when
// the byte there does not start one (overlong forms, surrogates and values
// above U+10FFFF are not valid).
std::size_t decodeUtf8(std::string_view text, char32_t& codePoint) {
    const SequenceShape shape = shapeOf(static_cast<unsigned char>(text[0]));
    if (shape.length == 0 || text.size() < shape.length) {
        return 0;
    }
    codePoint = shape.leadBits;
    for (std::size_t i = 1; i < shape.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < shape.minimum || surrogate || codePoint > 0x10FFFF ? 0 : shape.length;
}

// Modified UTF-8 of one slot's text, NUL-terminated, in storage of its own:
// each input byte yields at most three output bytes, and no allocation can
// fail in the middle of a JNI call.
class ModifiedUtf8Text {
public:
    ModifiedUtf8Text() { bytes_[0] = '\0'; }

    void append(std::string_view bytes) {
        std::memcpy(bytes_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
        bytes_[size_] = '\0';
    }

    void appendThreeByteUnit(char32_t unit) {
        const char encoded[] = {static_cast<char>(0xE0 | (unit >> 12)),
                                static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
                                static_cast<char>(0x80 | (unit & 0x3F))};
        append(std::string_view(encoded, sizeof encoded));
    }

    const char* c_str() const { return bytes_; }

private:
    char bytes_[3 * kLongPropertySlot + 1];
    std::size_t size_ = 0;
};

// Whether text can go to NewStringUTF as it is: valid UTF-8 without
// four-byte sequences, which modified UTF-8 writes as surrogate pairs.
bool isModifiedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t codePoint;
        const std::size_t length = decodeUtf8(text.substr(i), codePoint);
        if (length == 0 || length == 4) {
            return false;
        }
        i += length;
    }
    return true;
}

// Re-encodes text (without NULs) as modified UTF-8: valid sequences keep
// their characters, supplementary ones become surrogate pairs, and each byte
// that does not start a valid sequence becomes U+FFFD.
void toModifiedUtf8(std::string_view text, ModifiedUtf8Text& out) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t codePoint;
        const std::size_t length = decodeUtf8(text.substr(i), codePoint);
        if (length == 0) {
            out.appendThreeByteUnit(0xFFFD);
            ++i;
        } else if (length == 4) {
            const char32_t offset = codePoint - 0x10000;
            out.appendThreeByteUnit(0xD800 | (offset >> 10));
            out.appendThreeByteUnit(0xDC00 | (offset & 0x3FF));
            i += length;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
}

// A new Java string from the bytes at a slot's start up to their NUL, or to
// the slot's end when the slot holds no NUL.
jstring newSlotString(JNIEnv* env, const char* slot, std::size_t slotBytes) {
    const auto* end = static_cast<const char*>(std::memchr(slot, '\0', slotBytes));
    const std::string_view text(slot, end != nullptr ? static_cast<std::size_t>(end - slot)
                                                     : slotBytes);
    if (end != nullptr && isModifiedUtf8(text)) {
        return env->NewStringUTF(slot);
    }
    ModifiedUtf8Text converted;
    toModifiedUtf8(text, converted);
    return env->NewStringUTF(converted.c_str());
}

// Stores the 67 strings of record into the object's fields. Returns false
// with an exception pending when a string cannot be made.
bool writeProperties(JNIEnv* env, const PropertyRec& record, jobject property,
                     const PropertyCache::Ids& ids) {
    const auto* bytes = reinterpret_cast<const char*>(&record);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        const jstring value = newSlotString(env, bytes + offset, kPropertySlots[i].bytes);
        if (value == nullptr) {
            return false;
        }
        env->SetObjectField(property, ids[i], value);
        env->DeleteLocalRef(value);
        offset += kPropertySlots[i].bytes;
    }
    return true;
}

// The property object and its field IDs, checked before the engine runs.
bool checkPropertyObject(JNIEnv* env, jobject property, const PropertyCache& cache,
                         PropertyCache::Ids& ids) {
    if (property == nullptr) {
        throwNullArgument(env, "property");
        return false;
    }
    return cache.snapshot(env, ids);
}

// Runs one property call: the record is cleared, so an engine that fails
// without filling it gives 67 empty strings; the object is written whatever
// the engine's result, which is returned unchanged.
template <typename EngineCall>
jint propertyCall(JNIEnv* env, Generation generation, const ByteArgs& arrays, jobject info,
                  jobject property, EngineCall engineCall) {
    const PropertyCache& cache =
        generation == Generation::V3 ? propertyCacheV3() : propertyCacheV4();
    PropertyCache::Ids ids;
    if (!checkPropertyObject(env, property, cache, ids)) {
        return 0;
    }
    PropertyRec record{};
    const auto result = callEngine(env, generation, arrays, info, true,
                                   [&](CallArgs& args) { return engineCall(args, &record); });
    if (!result) {
        return 0;
    }
    writeProperties(env, record, property, ids);
    return *result;
}

}  // namespace
}  // namespace rvx

using rvx::ByteArgs;
using rvx::CallArgs;
using rvx::Generation;
using rvx::PropertyRec;

extern "C" {

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getProperty(JNIEnv* env, jclass,
                                                                   jbyteArray in, jobject info,
                                                                   jobject property) {
    return rvx::propertyCall(env, Generation::V3, ByteArgs{in, nullptr, nullptr}, info, property,
                             [](CallArgs& args, PropertyRec* record) {
                                 return rvxPropertyV3(args.in.get(), args.v3(), record);
                             });
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getPwdProperty(JNIEnv* env, jclass,
                                                                      jbyteArray in, jobject info,
                                                                      jobject property,
                                                                      jbyteArray pwd) {
    return rvx::propertyCall(env, Generation::V3, ByteArgs{in, nullptr, &pwd}, info, property,
                             [](CallArgs& args, PropertyRec* record) {
                                 return rvxPwdPropertyV3(args.in.get(), args.v3(), record,
                                                         args.pwd.get());
                             });
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPropertyV4(JNIEnv* env, jclass,
                                                                     jbyteArray in, jobject info,
                                                                     jobject property) {
    return rvx::propertyCall(env, Generation::V4, ByteArgs{in, nullptr, nullptr}, info, property,
                             [](CallArgs& args, PropertyRec* record) {
                                 return rvxPropertyV4(args.in.get(), args.v4(), record);
                             });
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPwdPropertyV4(JNIEnv* env, jclass,
                                                                        jbyteArray in,
                                                                        jobject info,
                                                                        jobject property,
                                                                        jbyteArray pwd) {
    return rvx::propertyCall(env, Generation::V4, ByteArgs{in, nullptr, &pwd}, info, property,
                             [](CallArgs& args, PropertyRec* record) {
                                 return rvxPwdPropertyV4(args.in.get(), args.v4(), record,
                                                         args.pwd.get());
                             });
}

JNIEXPORT void JNICALL Java_quorvel_rvx_v3_RVXProperty_initFIDs(JNIEnv* env, jclass cls) {
    rvx::propertyCacheV3().fill(env, cls);
}

JNIEXPORT void JNICALL Java_quorvel_rvx_v4_RVXPropertyV4_initFIDs(JNIEnv* env, jclass cls) {
    rvx::propertyCacheV4().fill(env, cls);
}

}  // extern "C"
