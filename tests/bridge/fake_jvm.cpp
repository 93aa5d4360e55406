#include "fake_jvm.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace fakejvm {
namespace {

Jvm* current = nullptr;

Object* asObject(jobject ref) { return reinterpret_cast<Object*>(ref); }
Class* asClass(jclass ref) { return reinterpret_cast<Class*>(ref); }
Member* asMember(jfieldID id) { return reinterpret_cast<Member*>(id); }
Member* asMember(jmethodID id) { return reinterpret_cast<Member*>(id); }

// Whether text is modified UTF-8 as NewStringUTF requires: no four-byte
// forms, no stray continuation bytes, no truncated sequences.
bool isModifiedUtf8(const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; bytes[i] != 0;) {
        const unsigned char lead = bytes[i];
        std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC0 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                                                            : 0;
        if (length == 0) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// The types of the parameters of a method signature, one letter each ('L'
// for objects and arrays).
std::string parameterKinds(const std::string& signature) {
    std::string kinds;
    for (std::size_t i = 1; i < signature.size() && signature[i] != ')'; ++i) {
        if (signature[i] == '[') {
            while (signature[i] == '[') {
                ++i;
            }
            if (signature[i] == 'L') {
                i = signature.find(';', i);
            }
            kinds += 'L';
        } else if (signature[i] == 'L') {
            i = signature.find(';', i);
            kinds += 'L';
        } else {
            kinds += signature[i];
        }
    }
    return kinds;
}

jclass JNICALL jniFindClass(JNIEnv* env, const char* name) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending("FindClass")) {
        return nullptr;
    }
    Class* cls = jvm.findClass(name);
    if (cls == nullptr) {
        jvm.setPending(jvm.throwable("java/lang/NoClassDefFoundError", name));
        return nullptr;
    }
    return reinterpret_cast<jclass>(jvm.localRef(cls));
}

jint JNICALL jniThrowObject(JNIEnv* env, jthrowable error) {
    Jvm& jvm = Jvm::of(env);
    jvm.checkNoPending("Throw");
    jvm.setPending(asObject(error));
    return 0;
}

jint JNICALL jniThrowNew(JNIEnv* env, jclass cls, const char* message) {
    Jvm& jvm = Jvm::of(env);
    jvm.checkNoPending("ThrowNew");
    jvm.setPending(jvm.throwable(asClass(cls)->name, message));
    return 0;
}

jboolean JNICALL jniExceptionCheck(JNIEnv* env) {
    return Jvm::of(env).pending() != nullptr ? JNI_TRUE : JNI_FALSE;
}

void JNICALL jniDeleteLocalRef(JNIEnv* env, jobject ref) { Jvm::of(env).deleteLocalRef(ref); }

jclass JNICALL jniGetObjectClass(JNIEnv* env, jobject object) {
    Jvm& jvm = Jvm::of(env);
    jvm.checkNoPending("GetObjectClass");
    return reinterpret_cast<jclass>(jvm.localRef(asObject(object)->cls));
}

jmethodID lookUpMember(JNIEnv* env, jclass cls, const char* name, const char* signature,
                       bool method, const char* function) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending(function)) {
        return nullptr;
    }
    Member* found = jvm.member(asClass(cls), name, signature, method);
    if (found == nullptr) {
        const char* error = method ? "java/lang/NoSuchMethodError" : "java/lang/NoSuchFieldError";
        jvm.setPending(jvm.throwable(error, name));
    }
    return reinterpret_cast<jmethodID>(found);
}

jmethodID JNICALL jniGetMethodID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    return lookUpMember(env, cls, name, signature, true, "GetMethodID");
}

jfieldID JNICALL jniGetFieldID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    Jvm::of(env).recordFieldLookup(name, signature);
    return reinterpret_cast<jfieldID>(lookUpMember(env, cls, name, signature, false, "GetFieldID"));
}

jobject JNICALL jniNewObjectV(JNIEnv* env, jclass cls, jmethodID constructor, va_list arguments) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending("NewObject")) {
        return nullptr;
    }
    Object* object = jvm.newObject(*asClass(cls));
    for (const char kind : parameterKinds(asMember(constructor)->signature)) {
        Value value;
        if (kind == 'L') {
            value.object = va_arg(arguments, jobject);
        } else {
            value.number = va_arg(arguments, jint);
        }
        object->constructorArguments.push_back(value);
    }
    return jvm.localRef(object);
}

jobject JNICALL jniNewObject(JNIEnv* env, jclass cls, jmethodID constructor, ...) {
    va_list arguments;
    va_start(arguments, constructor);
    const jobject object = jniNewObjectV(env, cls, constructor, arguments);
    va_end(arguments);
    return object;
}

// The only method the bridge calls is the stream's write([B)V.
void JNICALL jniCallVoidMethodV(JNIEnv* env, jobject object, jmethodID method, va_list arguments) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending("CallVoidMethod")) {
        return;
    }
    const jobject argument = va_arg(arguments, jobject);
    if (asMember(method)->name == "write") {
        jvm.recordWrite(object, static_cast<jbyteArray>(argument));
    }
}

void JNICALL jniCallVoidMethod(JNIEnv* env, jobject object, jmethodID method, ...) {
    va_list arguments;
    va_start(arguments, method);
    jniCallVoidMethodV(env, object, method, arguments);
    va_end(arguments);
}

Value& field(jobject object, jfieldID id) { return asObject(object)->fields[asMember(id)->name]; }

jobject JNICALL jniGetObjectField(JNIEnv* env, jobject object, jfieldID id) {
    Jvm& jvm = Jvm::of(env);
    jvm.checkNoPending("GetObjectField");
    const jobject value = field(object, id).object;
    return value != nullptr ? jvm.localRef(asObject(value)) : nullptr;
}

jint JNICALL jniGetIntField(JNIEnv* env, jobject object, jfieldID id) {
    Jvm::of(env).checkNoPending("GetIntField");
    return static_cast<jint>(field(object, id).number);
}

jlong JNICALL jniGetLongField(JNIEnv* env, jobject object, jfieldID id) {
    Jvm::of(env).checkNoPending("GetLongField");
    return field(object, id).number;
}

void JNICALL jniSetObjectField(JNIEnv* env, jobject object, jfieldID id, jobject value) {
    Jvm::of(env).checkNoPending("SetObjectField");
    field(object, id).object = value;
}

jsize JNICALL jniGetArrayLength(JNIEnv* env, jarray array) {
    Jvm::of(env).checkNoPending("GetArrayLength");
    return static_cast<jsize>(asObject(array)->bytes.size());
}

bool inBounds(Jvm& jvm, jbyteArray array, jsize start, jsize length) {
    const auto size = static_cast<jsize>(asObject(array)->bytes.size());
    if (start < 0 || length < 0 || start + length > size) {
        jvm.setPending(jvm.throwable("java/lang/ArrayIndexOutOfBoundsException", "region"));
        return false;
    }
    return true;
}

void JNICALL jniGetByteArrayRegion(JNIEnv* env, jbyteArray array, jsize start, jsize length,
                                   jbyte* target) {
    Jvm& jvm = Jvm::of(env);
    if (jvm.checkNoPending("GetByteArrayRegion") && inBounds(jvm, array, start, length)) {
        std::memcpy(target, asObject(array)->bytes.data() + start,
                    static_cast<std::size_t>(length));
    }
}

void JNICALL jniSetByteArrayRegion(JNIEnv* env, jbyteArray array, jsize start, jsize length,
                                   const jbyte* source) {
    Jvm& jvm = Jvm::of(env);
    if (jvm.checkNoPending("SetByteArrayRegion") && inBounds(jvm, array, start, length)) {
        std::memcpy(asObject(array)->bytes.data() + start, source,
                    static_cast<std::size_t>(length));
    }
}

jbyteArray JNICALL jniNewByteArray(JNIEnv* env, jsize length) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending("NewByteArray")) {
        return nullptr;
    }
    if (jvm.newByteArrayFails()) {
        jvm.setPending(jvm.throwable("java/lang/OutOfMemoryError", "Java heap space"));
        return nullptr;
    }
    const jbyteArray array = jvm.newByteArray(std::string(static_cast<std::size_t>(length), '\0'));
    return static_cast<jbyteArray>(jvm.localRef(asObject(array)));
}

jstring JNICALL jniNewStringUTF(JNIEnv* env, const char* text) {
    Jvm& jvm = Jvm::of(env);
    if (!jvm.checkNoPending("NewStringUTF")) {
        return nullptr;
    }
    if (!isModifiedUtf8(text)) {
        jvm.addMisuse(std::string("NewStringUTF with bytes that are not modified UTF-8: ") + text);
    }
    Object* string = jvm.newObject(jvm.defineClass("java/lang/String"));
    string->bytes = text;
    return static_cast<jstring>(jvm.localRef(string));
}

}  // namespace

Jvm::Jvm() {
    current = this;
    env_.functions = &table_;
    table_.FindClass = jniFindClass;
    table_.Throw = jniThrowObject;
    table_.ThrowNew = jniThrowNew;
    table_.ExceptionCheck = jniExceptionCheck;
    table_.DeleteLocalRef = jniDeleteLocalRef;
    table_.GetObjectClass = jniGetObjectClass;
    table_.GetMethodID = jniGetMethodID;
    table_.GetFieldID = jniGetFieldID;
    table_.NewObject = jniNewObject;
    table_.NewObjectV = jniNewObjectV;
    table_.CallVoidMethod = jniCallVoidMethod;
    table_.CallVoidMethodV = jniCallVoidMethodV;
    table_.GetObjectField = jniGetObjectField;
    table_.GetIntField = jniGetIntField;
    table_.GetLongField = jniGetLongField;
    table_.SetObjectField = jniSetObjectField;
    table_.GetArrayLength = jniGetArrayLength;
    table_.GetByteArrayRegion = jniGetByteArrayRegion;
    table_.SetByteArrayRegion = jniSetByteArrayRegion;
    table_.NewByteArray = jniNewByteArray;
    table_.NewStringUTF = jniNewStringUTF;
    for (const char* error :
         {"java/lang/NullPointerException", "java/lang/IllegalArgumentException",
          "java/lang/IllegalStateException", "java/lang/OutOfMemoryError"}) {
        defineClass(error);
    }
}

Jvm& Jvm::of(JNIEnv*) { return *current; }

Class& Jvm::defineClass(const std::string& name) {
    if (Class* existing = findClass(name.c_str())) {
        return *existing;
    }
    classes_.push_back(Class{name, {}, {}});
    return classes_.back();
}

Class* Jvm::findClass(const char* name) {
    for (Class& cls : classes_) {
        if (cls.name == name) {
            return &cls;
        }
    }
    return nullptr;
}

Object* Jvm::newObject(Class& cls) {
    objects_.push_back(Object{});
    objects_.back().cls = &cls;
    return &objects_.back();
}

jbyteArray Jvm::newByteArray(const std::string& bytes) {
    Object* array = newObject(defineClass("[B"));
    array->bytes = bytes;
    return reinterpret_cast<jbyteArray>(array);
}

Member* Jvm::member(Class* cls, const char* name, const char* signature, bool method) {
    const auto& members = method ? cls->methods : cls->fields;
    const auto found = members.find(name);
    if (found == members.end() || found->second != signature || failingField_ == name) {
        return nullptr;
    }
    members_.push_back(Member{cls, name, signature});
    return &members_.back();
}

Object* Jvm::throwable(const std::string& className, const std::string& message) {
    Object* error = newObject(defineClass(className));
    error->bytes = message;
    return error;
}

std::string Jvm::pendingClass() const { return pending_ != nullptr ? pending_->cls->name : ""; }

std::string Jvm::pendingMessage() const { return pending_ != nullptr ? pending_->bytes : ""; }

bool Jvm::checkNoPending(const char* function) {
    if (pending_ != nullptr) {
        misuses_.push_back(std::string(function) + " called with " + pending_->cls->name +
                           " pending");
        return false;
    }
    return true;
}

jobject Jvm::localRef(Object* object) {
    ++liveLocalRefs_;
    peakLocalRefs_ = std::max(peakLocalRefs_, liveLocalRefs_);
    return reinterpret_cast<jobject>(object);
}

jobject Jvm::localRef(Class* cls) {
    ++liveLocalRefs_;
    peakLocalRefs_ = std::max(peakLocalRefs_, liveLocalRefs_);
    return reinterpret_cast<jobject>(cls);
}

void Jvm::deleteLocalRef(jobject ref) {
    if (ref != nullptr) {
        --liveLocalRefs_;
    }
}

void Jvm::recordWrite(jobject, jbyteArray bytes) {
    if (writes_.size() >= failingWrite_) {
        pending_ = throwable("java/io/IOException", "write failed");
        return;
    }
    writes_.push_back(asObject(bytes)->bytes);
}

void Jvm::resetCounters() {
    failingWrite_ = static_cast<std::size_t>(-1);
    failNewByteArray_ = false;
    writes_.clear();
    misuses_.clear();
    fieldLookups_.clear();
    liveLocalRefs_ = 0;
    peakLocalRefs_ = 0;
}

}  // namespace fakejvm
