// The file-information calls: the engine fills a FileInfoRec, the bridge
// turns it into a new Java file-information object.
#include <jni.h>

#include <cstring>

#include "bridge/engine.h"
#include "bridge/frame.h"

namespace rvx {
namespace {

struct FileInfoClasses {
    const char* result;
    const char* exception;
};

constexpr FileInfoClasses kFileInfoV3{"quorvel/rvx/v3/RVXfileInfo", kExceptionClassV3};
constexpr FileInfoClasses kFileInfoV4{"quorvel/rvx/v4/RVXfileInfoV4", kExceptionClassV4};

// A new byte[] holding a record string up to its NUL; a string that fills
// its whole slot without a NUL is cut at the slot's end.
template <std::size_t SlotBytes>
jbyteArray newSlotArray(JNIEnv* env, const char (&slot)[SlotBytes]) {
    const auto* end = static_cast<const char*>(std::memchr(slot, '\0', SlotBytes));
    const jsize length = static_cast<jsize>(end != nullptr ? end - slot : SlotBytes);
    const jbyteArray array = env->NewByteArray(length);
    if (array != nullptr) {
        env->SetByteArrayRegion(array, 0, length, reinterpret_cast<const jbyte*>(slot));
    }
    return array;
}

// The Java object of classes.result built from a filled record, or null
// with the error of the failing JNI step pending.
jobject newFileInfoObject(JNIEnv* env, const char* resultClass, const FileInfoRec& record) {
    const jclass cls = env->FindClass(resultClass);
    if (cls == nullptr) {
        return nullptr;
    }
    jobject result = nullptr;
    const jmethodID constructor = env->GetMethodID(cls, "<init>", "([B[B[BII)V");
    if (constructor != nullptr) {
        const jbyteArray format = newSlotArray(env, record.docFormat);
        const jbyteArray subFormat = format ? newSlotArray(env, record.docSubFormat) : nullptr;
        const jbyteArray country = subFormat ? newSlotArray(env, record.docCountry) : nullptr;
        if (country != nullptr) {
            result = env->NewObject(cls, constructor, format, subFormat, country,
                                    jint{record.first}, jint{record.second});
        }
        env->DeleteLocalRef(country);
        env->DeleteLocalRef(subFormat);
        env->DeleteLocalRef(format);
    }
    env->DeleteLocalRef(cls);
    return result;
}

template <typename EngineCall>
jobject fileInfoCall(JNIEnv* env, jbyteArray in, const FileInfoClasses& classes,
                     EngineCall engineCall) {
    // Cleared, so that an engine that reports success without filling the
    // record gives empty strings rather than stack contents.
    FileInfoRec record{};
    std::int32_t result;
    {
        const NativeBuffer path = copyJavaBytes(env, in, "in");
        if (!path) {
            return nullptr;
        }
        result = engineCall(path.get(), &record);
    }
    if (result != 0) {
        throwEngineError(env, classes.exception, result);
        return nullptr;
    }
    return newFileInfoObject(env, classes.result, record);
}

}  // namespace
}  // namespace rvx

extern "C" {

JNIEXPORT jobject JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getRVXFileInfoV3(JNIEnv* env, jclass,
                                                                           jbyteArray in) {
    return rvx::fileInfoCall(env, in, rvx::kFileInfoV3, rvxFileInfoV3);
}

JNIEXPORT jobject JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getRVXFileInfoV4(JNIEnv* env, jclass,
                                                                           jbyteArray in) {
    return rvx::fileInfoCall(env, in, rvx::kFileInfoV4, rvxFileInfoV4);
}

}  // extern "C"
