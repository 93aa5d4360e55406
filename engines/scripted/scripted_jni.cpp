// Java access to the scripted engine's control, for the JVM tests: the
// native methods of quorvel.rvx.tests.ScriptedEngine. The JVM loads this
// library once for the class and once as the dependency of rvxjava; both
// are the same loaded object, so the script and report are shared.
#include <jni.h>
#include <malloc.h>

#include <optional>
#include <string>

#include "engines/scripted/scripted_engine.h"

namespace {

std::string bytesOf(JNIEnv* env, jbyteArray array) {
    std::string bytes(static_cast<std::size_t>(env->GetArrayLength(array)), '\0');
    env->GetByteArrayRegion(array, 0, static_cast<jsize>(bytes.size()),
                            reinterpret_cast<jbyte*>(bytes.data()));
    return bytes;
}

jbyteArray newArray(JNIEnv* env, const std::optional<std::string>& bytes) {
    if (!bytes) {
        return nullptr;
    }
    const auto length = static_cast<jsize>(bytes->size());
    const jbyteArray array = env->NewByteArray(length);
    if (array != nullptr) {
        env->SetByteArrayRegion(array, 0, length, reinterpret_cast<const jbyte*>(bytes->data()));
    }
    return array;
}

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_reset(JNIEnv*, jclass) {
    scriptedReset();
}

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_setResult(JNIEnv*, jclass,
                                                                       jint result) {
    scriptedSetResult(result);
}

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_setStoredPage(JNIEnv*, jclass,
                                                                           jint page) {
    scriptedSetStoredPage(page);
}

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_setText(JNIEnv* env, jclass,
                                                                     jbyteArray text,
                                                                     jintArray flushAfter) {
    scripted::script().text = bytesOf(env, text);
    std::vector<std::int32_t> points(static_cast<std::size_t>(env->GetArrayLength(flushAfter)));
    env->GetIntArrayRegion(flushAfter, 0, static_cast<jsize>(points.size()), points.data());
    scripted::script().flushAfter = points;
}

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_setFlushWithEndOfFile(
    JNIEnv*, jclass, jboolean endOfFile) {
    scripted::script().flushWithEndOfFile = endOfFile == JNI_TRUE;
}

JNIEXPORT void JNICALL Java_quorvel_rvx_tests_ScriptedEngine_setRecord(JNIEnv* env, jclass,
                                                                       jbyteArray record) {
    scripted::script().record = bytesOf(env, record);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastOperation(JNIEnv*, jclass) {
    return scripted::report().operation;
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_tests_ScriptedEngine_calls(JNIEnv*, jclass) {
    return scripted::report().calls;
}

JNIEXPORT jbyteArray JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastIn(JNIEnv* env, jclass) {
    return newArray(env, scripted::report().in);
}

JNIEXPORT jbyteArray JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastOut(JNIEnv* env, jclass) {
    return newArray(env, scripted::report().out);
}

JNIEXPORT jbyteArray JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastPwd(JNIEnv* env, jclass) {
    return newArray(env, scripted::report().pwd);
}

JNIEXPORT jbyteArray JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastTextInfo(JNIEnv* env,
                                                                                jclass) {
    return newArray(env, scripted::report().textInfo);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastPageOnEntry(JNIEnv*, jclass) {
    return scripted::report().pageOnEntry.value_or(0);
}

JNIEXPORT jboolean JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastReservedWasNull(JNIEnv*,
                                                                                     jclass) {
    return scripted::report().reservedWasNull ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jboolean JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastRecordWasZero(JNIEnv*,
                                                                                   jclass) {
    return scripted::report().recordWasZero ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jlong JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastTellp(JNIEnv*, jclass) {
    return scriptedLastTellp();
}

JNIEXPORT jlong JNICALL Java_quorvel_rvx_tests_ScriptedEngine_lastSeekpos(JNIEnv*, jclass) {
    return scriptedLastSeekpos();
}

JNIEXPORT jboolean JNICALL
Java_quorvel_rvx_tests_ScriptedEngine_streamTextWritten(JNIEnv*, jclass) {
    return scripted::report().streamTextWritten ? JNI_TRUE : JNI_FALSE;
}

// Bytes of the C heap in use, for the leak tests.
JNIEXPORT jlong JNICALL Java_quorvel_rvx_tests_ScriptedEngine_nativeHeapInUse(JNIEnv*, jclass) {
    return static_cast<jlong>(mallinfo2().uordblks);
}

}  // extern "C"
