// The frame of the bridge and the eight calls that extract a document's text
// into an output file.
#include "bridge/frame.h"

#include <cstdarg>
#include <cstdio>

#include "bridge/field_caches.h"

namespace rvx {

void throwJava(JNIEnv* env, const char* classPath, const char* format, ...) {
    char message[256];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    const jclass cls = env->FindClass(classPath);
    if (cls == nullptr) {
        return;
    }
    env->ThrowNew(cls, message);
    env->DeleteLocalRef(cls);
}

void throwNullArgument(JNIEnv* env, const char* parameter) {
    throwJava(env, "java/lang/NullPointerException", "%s must not be null", parameter);
}

void throwOutOfMemory(JNIEnv* env, const char* what) {
    throwJava(env, "java/lang/OutOfMemoryError", "cannot allocate %s", what);
}

NativeBuffer copyJavaBytes(JNIEnv* env, jbyteArray array, const char* parameter) {
    if (array == nullptr) {
        throwNullArgument(env, parameter);
        return nullptr;
    }
    const jsize length = env->GetArrayLength(array);
    NativeBuffer copy(static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1)));
    if (!copy) {
        throwJava(env, "java/lang/OutOfMemoryError", "cannot allocate a native copy of %s",
                  parameter);
        return nullptr;
    }
    env->GetByteArrayRegion(array, 0, length, reinterpret_cast<jbyte*>(copy.get()));
    if (env->ExceptionCheck()) {
        return nullptr;
    }
    copy[length] = '\0';
    return copy;
}

void throwEngineError(JNIEnv* env, const char* exceptionClass, std::int32_t code) {
    const jclass cls = env->FindClass(exceptionClass);
    if (cls == nullptr) {
        return;
    }
    const jmethodID constructor = env->GetMethodID(cls, "<init>", "(I)V");
    if (constructor != nullptr) {
        const auto error = static_cast<jthrowable>(env->NewObject(cls, constructor, jint{code}));
        if (error != nullptr) {
            env->Throw(error);
            env->DeleteLocalRef(error);
        }
    }
    env->DeleteLocalRef(cls);
}

jint pageCallResult(JNIEnv* env, const char* exceptionClass, std::int32_t result,
                    jint requestedPage, std::int32_t storedPage) {
    if (result != 0) {
        throwEngineError(env, exceptionClass, result);
        return result;
    }
    return requestedPage == 0 ? storedPage : 0;
}

bool prepareCall(JNIEnv* env, Generation generation, const ByteArgs& arrays, jobject info,
                 bool forceBigEndian, CallArgs& args) {
    args.in = copyJavaBytes(env, arrays.in, "in");
    if (!args.in) {
        return false;
    }
    if (arrays.out != nullptr && !(args.out = copyJavaBytes(env, *arrays.out, "out"))) {
        return false;
    }
    if (arrays.pwd != nullptr && !(args.pwd = copyJavaBytes(env, *arrays.pwd, "pwd"))) {
        return false;
    }
    const TextInfoCache& cache =
        generation == Generation::V3 ? textInfoCacheV3() : textInfoCacheV4();
    if (!readTextInfo(env, info, cache, args.info)) {
        return false;
    }
    if (forceBigEndian) {
        args.info.bigEndian = 1;
    }
    return generation == Generation::V4 || makeTextInfoRecV3(env, args.info, args.infoV3);
}

}  // namespace rvx

using rvx::ByteArgs;
using rvx::CallArgs;
using rvx::Generation;

extern "C" {

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getTextV3(JNIEnv* env, jclass,
                                                                 jbyteArray in, jbyteArray out,
                                                                 jobject info) {
    return rvx::callEngine(env, Generation::V3, ByteArgs{in, &out, nullptr}, info, false,
                           [](CallArgs& args) {
                               return rvxTextV3(args.in.get(), args.out.get(), args.v3());
                           })
        .value_or(0);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getPageTextV3(JNIEnv* env, jclass,
                                                                     jbyteArray in, jbyteArray out,
                                                                     jobject info, jint page) {
    std::int32_t pageValue = page;
    const auto result = rvx::callEngine(
        env, Generation::V3, ByteArgs{in, &out, nullptr}, info, false, [&](CallArgs& args) {
            return rvxPageTextV3(args.in.get(), args.out.get(), args.v3(), &pageValue);
        });
    return result ? rvx::pageCallResult(env, rvx::kExceptionClassV3, *result, page, pageValue) : 0;
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getPwdTextV3(JNIEnv* env, jclass,
                                                                    jbyteArray in, jbyteArray out,
                                                                    jobject info, jbyteArray pwd) {
    return rvx::callEngine(env, Generation::V3, ByteArgs{in, &out, &pwd}, info, false,
                           [](CallArgs& args) {
                               return rvxPwdTextV3(args.in.get(), args.out.get(), args.v3(),
                                                   args.pwd.get());
                           })
        .value_or(0);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v3_RVXnativeV3_getPwdPageTextV3(
    JNIEnv* env, jclass, jbyteArray in, jbyteArray out, jobject info, jint page, jbyteArray pwd) {
    std::int32_t pageValue = page;
    const auto result = rvx::callEngine(
        env, Generation::V3, ByteArgs{in, &out, &pwd}, info, false, [&](CallArgs& args) {
            return rvxPwdPageTextV3(args.in.get(), args.out.get(), args.v3(), &pageValue,
                                    args.pwd.get());
        });
    return result ? rvx::pageCallResult(env, rvx::kExceptionClassV3, *result, page, pageValue) : 0;
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getTextV4(JNIEnv* env, jclass,
                                                                 jbyteArray in, jbyteArray out,
                                                                 jobject info) {
    return rvx::callEngine(env, Generation::V4, ByteArgs{in, &out, nullptr}, info, false,
                           [](CallArgs& args) {
                               return rvxTextV4(args.in.get(), args.out.get(), args.v4(),
                                                nullptr);
                           })
        .value_or(0);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPageTextV4(JNIEnv* env, jclass,
                                                                     jbyteArray in, jbyteArray out,
                                                                     jobject info, jint page) {
    std::int32_t pageValue = page;
    const auto result = rvx::callEngine(
        env, Generation::V4, ByteArgs{in, &out, nullptr}, info, false, [&](CallArgs& args) {
            return rvxPageTextV4(args.in.get(), args.out.get(), args.v4(), &pageValue, nullptr);
        });
    return result ? rvx::pageCallResult(env, rvx::kExceptionClassV4, *result, page, pageValue) : 0;
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPwdTextV4(JNIEnv* env, jclass,
                                                                    jbyteArray in, jbyteArray out,
                                                                    jobject info, jbyteArray pwd) {
    return rvx::callEngine(env, Generation::V4, ByteArgs{in, &out, &pwd}, info, false,
                           [](CallArgs& args) {
                               return rvxPwdTextV4(args.in.get(), args.out.get(), args.v4(),
                                                   args.pwd.get(), nullptr);
                           })
        .value_or(0);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPwdPageTextV4(
    JNIEnv* env, jclass, jbyteArray in, jbyteArray out, jobject info, jint page, jbyteArray pwd) {
    std::int32_t pageValue = page;
    const auto result = rvx::callEngine(
        env, Generation::V4, ByteArgs{in, &out, &pwd}, info, false, [&](CallArgs& args) {
            return rvxPwdPageTextV4(args.in.get(), args.out.get(), args.v4(), &pageValue,
                                    args.pwd.get(), nullptr);
        });
    return result ? rvx::pageCallResult(env, rvx::kExceptionClassV4, *result, page, pageValue) : 0;
}

}  // extern "C"
