// A standard narrow output stream whose bytes go to the write([B)V method of
// a Java object, so that the engine's stream operations can deliver text to
// a Java output stream.
#ifndef RVX_BRIDGE_JAVA_STREAM_H
#define RVX_BRIDGE_JAVA_STREAM_H

#include <jni.h>

#include <ostream>
#include <streambuf>

namespace rvx {

// Collects up to 255 bytes and hands them to Java as one new byte[] when the
// 256th byte arrives, when the stream is flushed and when the buffer dies.
// Once a write call has thrown, nothing more is delivered: its exception
// stays pending for the Java caller and no JNI call may follow it.
class JavaOutStreamBuf : public std::streambuf {
public:
    // Looks up write([B)V in the object's class; when that fails, ready()
    // answers false with the JNI error pending.
    JavaOutStreamBuf(JNIEnv* env, jobject stream);
    ~JavaOutStreamBuf() override;

    JavaOutStreamBuf(const JavaOutStreamBuf&) = delete;
    JavaOutStreamBuf& operator=(const JavaOutStreamBuf&) = delete;

    bool ready() const { return write_ != nullptr; }

protected:
    int_type overflow(int_type value) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
    int sync() override;

private:
    static constexpr std::ptrdiff_t kPutAreaBytes = 255;

    void deliver();
    void emptyPutArea() { setp(buffer_, buffer_ + kPutAreaBytes); }

    JNIEnv* env_;
    jobject stream_;
    jmethodID write_ = nullptr;
    char buffer_[kPutAreaBytes + 1] = {};
    bool writeFailed_ = false;
};

// The narrow output stream handed to the engine; it owns its buffer.
class JavaOutStream : public std::ostream {
public:
    JavaOutStream(JNIEnv* env, jobject stream);

    bool ready() const { return buffer_.ready(); }

    // Hands what is pending to Java, whatever state the engine left the
    // stream in.
    void deliverPending() { buffer_.pubsync(); }

private:
    JavaOutStreamBuf buffer_;
};

}  // namespace rvx

#endif
