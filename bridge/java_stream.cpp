// The Java output stream and the two calls that deliver a document's or a
// page's text to it.
#include "bridge/java_stream.h"

#include "bridge/engine.h"
#include "bridge/field_caches.h"
#include "bridge/frame.h"

namespace rvx {

JavaOutStreamBuf::JavaOutStreamBuf(JNIEnv* env, jobject stream) : env_(env), stream_(stream) {
    emptyPutArea();
    const jclass cls = env->GetObjectClass(stream);
    write_ = env->GetMethodID(cls, "write", "([B)V");
    env->DeleteLocalRef(cls);
}

JavaOutStreamBuf::~JavaOutStreamBuf() { deliver(); }

void JavaOutStreamBuf::deliver() {
    const auto pending = static_cast<jsize>(pptr() - pbase());
    emptyPutArea();
    // Bytes that arrive after a failed write, or while another exception is
    // pending, are dropped: JNI allows no further call then.
    if (pending == 0 || !ready() || writeFailed_ || env_->ExceptionCheck()) {
        return;
    }
    const jbyteArray bytes = env_->NewByteArray(pending);
    if (bytes == nullptr) {
        writeFailed_ = true;
        return;
    }
    env_->SetByteArrayRegion(bytes, 0, pending, reinterpret_cast<const jbyte*>(buffer_));
    env_->CallVoidMethod(stream_, write_, bytes);
    writeFailed_ = env_->ExceptionCheck();
    env_->DeleteLocalRef(bytes);
}

JavaOutStreamBuf::int_type JavaOutStreamBuf::overflow(int_type value) {
    deliver();
    if (traits_type::eq_int_type(value, traits_type::eof())) {
        return traits_type::not_eof(value);
    }
    const char byte = traits_type::to_char_type(value);
    *pptr() = byte;
    pbump(1);
    return traits_type::to_int_type(byte);
}

JavaOutStreamBuf::pos_type JavaOutStreamBuf::seekpos(pos_type, std::ios_base::openmode) {
    return pos_type(off_type(0));
}

int JavaOutStreamBuf::sync() {
    deliver();
    return 0;
}

JavaOutStream::JavaOutStream(JNIEnv* env, jobject stream)
    : std::ostream(nullptr), buffer_(env, stream) {
    rdbuf(&buffer_);
}

namespace {

// Runs one stream call. The engine's text is flushed to Java before the call
// returns, so that a page call raises its engine error only after all text
// was delivered; when write has thrown, its exception is the one the caller
// receives. Returns nothing when the engine was not called.
template <typename EngineCall>
std::optional<std::int32_t> streamCall(JNIEnv* env, jbyteArray in, jobject stream, jobject info,
                                       EngineCall engineCall) {
    if (stream == nullptr) {
        throwNullArgument(env, "stream");
        return std::nullopt;
    }
    std::optional<std::int32_t> result;
    {
        NativeBuffer path = copyJavaBytes(env, in, "in");
        TextInfoRecV4 record{};  // cleared as in every text call
        if (!path || !readTextInfo(env, info, textInfoCacheV4(), record)) {
            return std::nullopt;
        }
        JavaOutStream out(env, stream);
        if (!out.ready()) {
            return std::nullopt;
        }
        result = engineCall(path.get(), &out, &record);
        path.reset();
        out.deliverPending();
    }
    return result;
}

}  // namespace
}  // namespace rvx

extern "C" {

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getTextStreamV4(JNIEnv* env, jclass,
                                                                       jbyteArray in,
                                                                       jobject stream,
                                                                       jobject info) {
    return rvx::streamCall(env, in, stream, info,
                           [](const char* path, std::ostream* out, rvx::TextInfoRecV4* record) {
                               return rvxTextStreamV4(path, out, record, nullptr);
                           })
        .value_or(0);
}

JNIEXPORT jint JNICALL Java_quorvel_rvx_v4_RVXnativeV4_getPageTextStreamV4(
    JNIEnv* env, jclass, jbyteArray in, jobject stream, jobject info, jint page) {
    std::int32_t pageValue = page;
    const auto result =
        rvx::streamCall(env, in, stream, info,
                        [&](const char* path, std::ostream* out, rvx::TextInfoRecV4* record) {
                            return rvxPageTextStreamV4(path, out, record, &pageValue, nullptr);
                        });
    if (!result) {
        return 0;
    }
    if (env->ExceptionCheck()) {
        return *result;
    }
    return rvx::pageCallResult(env, rvx::kExceptionClassV4, *result, page, pageValue);
}

}  // extern "C"
