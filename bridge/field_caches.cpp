// Field-ID caches of the text-information classes and of RVXOleErr, and the
// reading of text-information objects into the engine's records.
#include "bridge/field_caches.h"

#include <cstring>

namespace rvx {
namespace {

// Lookup and reading order of the fields of RVXTextInfo and RVXTextInfoV4.
enum TextInfoField : std::size_t { GroupName, DefLangName, BigEndian, Option, Option1, Size, CsvC };

constexpr std::array<FieldSpec, kTextInfoFieldCount> kTextInfoFields{{
    {"GroupName", "[B"},
    {"DefLangName", "[B"},
    {"bBigEndian", "I"},
    {"Option", "J"},
    {"Option1", "J"},
    {"Size", "J"},
    {"Csv_c", "I"},
}};

constexpr std::size_t kOleErrFieldCount = 3;
constexpr std::array<FieldSpec, kOleErrFieldCount> kOleErrFields{{
    {"LevNum", "Ljava/lang/Integer;"},
    {"DtctResult", "Ljava/lang/String;"},
    {"ErrCode", "Ljava/lang/Long;"},
}};

// Filled for the Java class's sake; no native method reads it.
FieldCache<kOleErrFieldCount>& oleErrCache() {
    static FieldCache<kOleErrFieldCount> cache("quorvel.rvx.v4.RVXOleErr", kOleErrFields);
    return cache;
}

constexpr jsize kMaxNameBytes = 255;

// Copies a byte[] name field into a 256-byte record field followed by a NUL;
// a null array gives an empty name.
bool readName(JNIEnv* env, jobject info, jfieldID field, const char* fieldName, char* target) {
    const auto array = static_cast<jbyteArray>(env->GetObjectField(info, field));
    if (array == nullptr) {
        target[0] = '\0';
        return true;
    }
    const jsize length = env->GetArrayLength(array);
    if (length > kMaxNameBytes) {
        env->DeleteLocalRef(array);
        throwJava(env, "java/lang/IllegalArgumentException",
                  "%s is %ld bytes long; at most %ld bytes fit", fieldName, long{length},
                  long{kMaxNameBytes});
        return false;
    }
    env->GetByteArrayRegion(array, 0, length, reinterpret_cast<jbyte*>(target));
    env->DeleteLocalRef(array);
    if (env->ExceptionCheck()) {
        return false;
    }
    target[length] = '\0';
    return true;
}

// The low 32 bits of a Java long, as the engine's 32-bit field holds them.
std::int32_t low32(jlong value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

bool allocateNameCopy(JNIEnv* env, const char (&name)[256], NativeBuffer& copy) {
    copy.reset(static_cast<char*>(std::malloc(sizeof name)));
    if (!copy) {
        throwOutOfMemory(env, "a text-information name buffer");
        return false;
    }
    std::memcpy(copy.get(), name, sizeof name);
    return true;
}

}  // namespace

TextInfoCache& textInfoCacheV3() {
    static TextInfoCache cache("quorvel.rvx.v3.RVXTextInfo", kTextInfoFields);
    return cache;
}

TextInfoCache& textInfoCacheV4() {
    static TextInfoCache cache("quorvel.rvx.v4.RVXTextInfoV4", kTextInfoFields);
    return cache;
}

bool readTextInfo(JNIEnv* env, jobject info, const TextInfoCache& cache, TextInfoRecV4& record) {
    if (info == nullptr) {
        throwNullArgument(env, "info");
        return false;
    }
    TextInfoCache::Ids ids;
    if (!cache.snapshot(env, ids)) {
        return false;
    }
    if (!readName(env, info, ids[GroupName], "GroupName", record.groupName) ||
        !readName(env, info, ids[DefLangName], "DefLangName", record.defLangName)) {
        return false;
    }
    record.bigEndian = env->GetIntField(info, ids[BigEndian]);
    record.option = low32(env->GetLongField(info, ids[Option]));
    record.option1 = low32(env->GetLongField(info, ids[Option1]));
    record.size = low32(env->GetLongField(info, ids[Size]));
    record.csvC = static_cast<std::uint16_t>(env->GetIntField(info, ids[CsvC]));
    return true;
}

bool makeTextInfoRecV3(JNIEnv* env, const TextInfoRecV4& source, TextInfoV3& target) {
    if (!allocateNameCopy(env, source.groupName, target.groupName) ||
        !allocateNameCopy(env, source.defLangName, target.defLangName)) {
        return false;
    }
    target.record.groupName = target.groupName.get();
    target.record.defLangName = target.defLangName.get();
    target.record.bigEndian = source.bigEndian;
    target.record.option = source.option;
    target.record.option1 = source.option1;
    target.record.size = source.size;
    target.record.csvC = source.csvC;
    return true;
}

}  // namespace rvx

extern "C" {

JNIEXPORT void JNICALL Java_quorvel_rvx_v3_RVXTextInfo_initFIDs(JNIEnv* env, jclass cls) {
    rvx::textInfoCacheV3().fill(env, cls);
}

JNIEXPORT void JNICALL Java_quorvel_rvx_v4_RVXTextInfoV4_initFIDs(JNIEnv* env, jclass cls) {
    rvx::textInfoCacheV4().fill(env, cls);
}

JNIEXPORT void JNICALL Java_quorvel_rvx_v4_RVXOleErr_initFIDs(JNIEnv* env, jclass cls) {
    rvx::oleErrCache().fill(env, cls);
}

}  // extern "C"
