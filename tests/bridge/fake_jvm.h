// A minimal Java virtual machine as far as rvxjava sees one: a JNI function
// table of our own that fills only the functions the bridge uses, with
// objects, classes, fields and exceptions kept in plain C++ structures.
// It records what the bridge does (write calls, thrown exceptions, new
// objects) and every misuse of JNI: a call other than the exception calls
// while an exception is pending, or local references that pile up.
#ifndef RVX_TESTS_BRIDGE_FAKE_JVM_H
#define RVX_TESTS_BRIDGE_FAKE_JVM_H

#include <jni.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fakejvm {

struct Class;

// A Java value stored in a field or passed to a constructor.
struct Value {
    jlong number = 0;
    jobject object = nullptr;
};

struct Object {
    Class* cls = nullptr;
    std::string bytes;                      // byte[] contents, or a String's modified UTF-8
    std::map<std::string, Value> fields;    // by field name
    std::vector<Value> constructorArguments;
};

struct Class {
    std::string name;                             // "quorvel/rvx/v4/RVXTextInfoV4"
    std::map<std::string, std::string> fields;    // name -> signature
    std::map<std::string, std::string> methods;   // name -> signature
};

// Identifies a field or a method: the class, the name and the signature.
struct Member {
    Class* cls;
    std::string name;
    std::string signature;
};

class Jvm {
public:
    Jvm();

    JNIEnv* env() { return &env_; }

    // Classes that FindClass knows, and plain objects and arrays.
    Class& defineClass(const std::string& name);
    Object* newObject(Class& cls);
    jbyteArray newByteArray(const std::string& bytes);

    // A field lookup that fails with NoSuchFieldError, as for a class without it.
    void failLookupOf(const std::string& fieldName) { failingField_ = fieldName; }

    // The stream object's write method throws from the given call on.
    void failWritesFrom(std::size_t call) { failingWrite_ = call; }

    // NewByteArray fails with OutOfMemoryError, as when the Java heap is full.
    void failNewByteArray(bool fail) { failNewByteArray_ = fail; }
    bool newByteArrayFails() const { return failNewByteArray_; }

    Object* pending() const { return pending_; }
    std::string pendingClass() const;
    std::string pendingMessage() const;
    void clearPending() { pending_ = nullptr; }

    const std::vector<std::string>& writes() const { return writes_; }
    const std::vector<std::string>& misuses() const { return misuses_; }
    int fieldLookups() const { return static_cast<int>(fieldLookups_.size()); }
    // Every GetFieldID since the last reset, in call order, as "name signature".
    const std::vector<std::string>& lookedUpFields() const { return fieldLookups_; }
    int liveLocalRefs() const { return liveLocalRefs_; }
    int peakLocalRefs() const { return peakLocalRefs_; }
    void resetCounters();

    // Helpers of the function table.
    static Jvm& of(JNIEnv* env);
    bool checkNoPending(const char* function);
    jobject localRef(Object* object);
    jobject localRef(Class* cls);
    void deleteLocalRef(jobject ref);
    Class* findClass(const char* name);
    Member* member(Class* cls, const char* name, const char* signature, bool method);
    Object* throwable(const std::string& className, const std::string& message);
    void setPending(Object* error) { pending_ = error; }
    void recordWrite(jobject stream, jbyteArray bytes);
    void addMisuse(const std::string& what) { misuses_.push_back(what); }
    void recordFieldLookup(const char* name, const char* signature) {
        fieldLookups_.push_back(std::string(name) + " " + signature);
    }
    const std::string& failingField() const { return failingField_; }

private:
    JNINativeInterface_ table_{};
    JNIEnv env_{};
    std::deque<Object> objects_;
    std::deque<Class> classes_;
    std::deque<Member> members_;
    Object* pending_ = nullptr;
    std::string failingField_;
    std::size_t failingWrite_ = static_cast<std::size_t>(-1);
    bool failNewByteArray_ = false;
    std::vector<std::string> writes_;
    std::vector<std::string> misuses_;
    std::vector<std::string> fieldLookups_;
    int liveLocalRefs_ = 0;
    int peakLocalRefs_ = 0;
};

}  // namespace fakejvm

#endif
