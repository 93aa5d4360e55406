// The frame shared by every native method of rvxjava: native copies of Java
// byte arrays, Java exceptions raised by the bridge, the page rule, and the
// native form of the arguments that the text, property and stream calls share.
#ifndef RVX_BRIDGE_FRAME_H
#define RVX_BRIDGE_FRAME_H

#include <jni.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

#include "bridge/engine.h"

namespace rvx {

inline constexpr const char* kExceptionClassV3 = "quorvel/rvx/v3/RVXException";
inline constexpr const char* kExceptionClassV4 = "quorvel/rvx/v4/RVXExceptionV4";

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// A heap buffer made with malloc, freed when the owner goes out of scope.
using NativeBuffer = std::unique_ptr<char[], FreeDeleter>;

// Raises a new exception of the class at classPath with a printf-style
// message. The message is built without allocating, so no C++ exception can
// leave a JNI function through it. When the class cannot be found,
// FindClass's own error stays pending.
void throwJava(JNIEnv* env, const char* classPath, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

void throwNullArgument(JNIEnv* env, const char* parameter);
void throwOutOfMemory(JNIEnv* env, const char* what);

// Returns the array's bytes followed by one NUL in a new heap buffer. Returns
// null with an exception pending when the array is null (NullPointerException
// naming the parameter) or the buffer cannot be allocated (OutOfMemoryError).
NativeBuffer copyJavaBytes(JNIEnv* env, jbyteArray array, const char* parameter);

// Raises the engine code as a new object of the exception class at classPath,
// built with its (I)V constructor. A failing step leaves its own error pending.
void throwEngineError(JNIEnv* env, const char* exceptionClass, std::int32_t code);

// The result of a call with a page number: a non-zero engine result is raised
// and returned; otherwise page 0 answers the value the engine stored and any
// other page answers 0.
jint pageCallResult(JNIEnv* env, const char* exceptionClass, std::int32_t result,
                    jint requestedPage, std::int32_t storedPage);

enum class Generation { V3, V4 };

// The V3 record together with the two 256-byte name buffers it points to.
struct TextInfoV3 {
    TextInfoRecV3 record{};
    NativeBuffer groupName;
    NativeBuffer defLangName;
};

// The native form of a call's arguments. Everything is freed when it goes out
// of scope, right after the engine call.
struct CallArgs {
    NativeBuffer in;
    NativeBuffer out;
    NativeBuffer pwd;
    // Cleared, so that the bytes after each name's NUL and the reserved
    // field reach the engine as zeros rather than as stack contents.
    TextInfoRecV4 info{};
    TextInfoV3 infoV3;

    TextInfoRecV4* v4() { return &info; }
    TextInfoRecV3* v3() { return &infoV3.record; }
};

// Which byte arrays a call passes besides the input path; a null pointer
// stands for an argument the call does not have.
struct ByteArgs {
    jbyteArray in;
    const jbyteArray* out;
    const jbyteArray* pwd;
};

// Copies the byte arrays (in, out, pwd, in that order), then reads the
// text-information object through the cache of its generation and, for V3,
// builds the V3 record. Property calls force bBigEndian to 1 before the V3
// record is made. Returns false with an exception pending when any step
// fails; the engine must not be called then.
bool prepareCall(JNIEnv* env, Generation generation, const ByteArgs& arrays, jobject info,
                 bool forceBigEndian, CallArgs& args);

// Prepares the arguments, hands them to engineCall and frees them. Returns
// the engine's result, or nothing when the engine was not called because an
// exception is pending.
template <typename EngineCall>
std::optional<std::int32_t> callEngine(JNIEnv* env, Generation generation, const ByteArgs& arrays,
                                       jobject info, bool forceBigEndian, EngineCall&& engineCall) {
    CallArgs args;
    if (!prepareCall(env, generation, arrays, info, forceBigEndian, args)) {
        return std::nullopt;
    }
    return engineCall(args);
}

}  // namespace rvx

#endif
