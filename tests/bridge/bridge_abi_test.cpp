// rvxjava loaded as a JVM loads it, without a JVM: the library is opened by
// path, its exports are found by the names a JVM of this platform looks up
// (decorated _name@bytes on 32-bit Windows) and called through a JNI
// function table of our own. This proves the export names, argument sizes,
// calling convention and engine bindings end to end, and checks behaviour
// that a real JVM cannot provoke (unfilled caches, failing lookups).
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "fake_jvm.h"

namespace {

using fakejvm::Class;
using fakejvm::Jvm;
using fakejvm::Object;

void* openLibrary(const char* path) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(LoadLibraryA(path));
#else
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

void* findSymbol(void* library, const std::string& name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
#else
    return dlsym(library, name.c_str());
#endif
}

// The name under which a JVM of this platform looks a native method up.
std::string exportName(const std::string& jniName, int argumentBytes) {
#if defined(_WIN32) && !defined(_WIN64)
    return "_" + jniName + "@" + std::to_string(argumentBytes);
#else
    static_cast<void>(argumentBytes);
    return jniName;
#endif
}

void* bridgeLibrary = nullptr;
void* engineLibrary = nullptr;

template <typename Function>
Function nativeMethod(const std::string& jniName, int argumentBytes) {
    void* address = findSymbol(bridgeLibrary, exportName(jniName, argumentBytes));
    EXPECT_NE(address, nullptr) << exportName(jniName, argumentBytes);
    return reinterpret_cast<Function>(address);
}

template <typename Function>
Function engineControl(const char* name) {
    void* address = findSymbol(engineLibrary, name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Function>(address);
}

// The scripted engine's control functions.
struct Engine {
    void reset() { engineControl<void (*)()>("scriptedReset")(); }
    void setResult(std::int32_t result) {
        engineControl<void (*)(std::int32_t)>("scriptedSetResult")(result);
    }
    void setStoredPage(std::int32_t page) {
        engineControl<void (*)(std::int32_t)>("scriptedSetStoredPage")(page);
    }
    void setText(const std::string& text) {
        engineControl<void (*)(const char*, std::int32_t, const std::int32_t*, std::int32_t)>(
            "scriptedSetText")(text.data(), static_cast<std::int32_t>(text.size()), nullptr, 0);
    }
    void setRecord(const std::string& record) {
        engineControl<void (*)(const void*, std::int32_t)>("scriptedSetRecord")(
            record.data(), static_cast<std::int32_t>(record.size()));
    }
    std::int32_t lastOperation() {
        return engineControl<std::int32_t (*)()>("scriptedLastOperation")();
    }
    std::int32_t calls() { return engineControl<std::int32_t (*)()>("scriptedCalls")(); }
    std::string lastArgument(std::int32_t which) {
        char buffer[512];
        const std::int32_t length =
            engineControl<std::int32_t (*)(std::int32_t, char*, std::int32_t)>(
                "scriptedLastArgument")(which, buffer, sizeof buffer);
        return length < 0 ? "<none>" : std::string(buffer, static_cast<std::size_t>(length));
    }
    std::array<unsigned char, 532> lastTextInfo() {
        std::array<unsigned char, 532> bytes{};
        engineControl<std::int32_t (*)(unsigned char*)>("scriptedLastTextInfo")(bytes.data());
        return bytes;
    }
    std::int32_t lastPageOnEntry() {
        return engineControl<std::int32_t (*)()>("scriptedLastPageOnEntry")();
    }
    std::int64_t lastTellp() { return engineControl<std::int64_t (*)()>("scriptedLastTellp")(); }
    std::int64_t lastSeekpos() {
        return engineControl<std::int64_t (*)()>("scriptedLastSeekpos")();
    }
};

using InitFIDs = void(JNICALL*)(JNIEnv*, jclass);
using TextCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jbyteArray, jobject);
using PageTextCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jbyteArray, jobject, jint);
using PwdTextCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jbyteArray, jobject, jbyteArray);
using PwdPageTextCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jbyteArray, jobject, jint,
                                       jbyteArray);
using FileInfoCall = jobject(JNICALL*)(JNIEnv*, jclass, jbyteArray);
using PropertyCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jobject, jobject);
using PwdPropertyCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jobject, jobject, jbyteArray);
using StreamCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jobject, jobject);
using PageStreamCall = jint(JNICALL*)(JNIEnv*, jclass, jbyteArray, jobject, jobject, jint);

const char* const kPropertyNames[] = {
    "title",         "author",           "keyword",          "subject",      "comment",
    "manager",       "company",          "category",         "createdate",   "revision",
    "lastrevisor",   "revisioncount",    "lastprintdate",    "edittime",     "creator",
    "producer",      "encryptionflag",   "slides",           "paragraphs",   "bytes",
    "notes",         "presentation",     "doctype",          "lastsavetime", "owner",
    "m_abstract",    "account",          "address",          "attachments",  "authorization",
    "bill_to",       "blind_copy",       "carbon_copy",      "checked_by",   "client",
    "department",    "descriptive_name", "descriptive_type", "destination",  "disposition",
    "division",      "document_number",  "editor",           "forward_to",   "group",
    "language",      "mail_stop",        "matter",           "office",       "project",
    "publisher",     "purpose",          "received_from",    "recorded_by",  "recorded_date",
    "reference",     "revision_date",    "revision_notes",   "section",      "security",
    "source",        "status",           "telephone_number", "typist",       "version_date",
    "version_notes", "version_number"};

// The Java classes the bridge meets, as the fake JVM knows them.
struct JavaWorld {
    Jvm jvm;
    Class& textInfoV3 = textInfoClass("quorvel/rvx/v3/RVXTextInfo");
    Class& textInfoV4 = textInfoClass("quorvel/rvx/v4/RVXTextInfoV4");
    Class& propertyV3 = propertyClass("quorvel/rvx/v3/RVXProperty");
    Class& propertyV4 = propertyClass("quorvel/rvx/v4/RVXPropertyV4");
    Class& fileInfoV4 = withMethod("quorvel/rvx/v4/RVXfileInfoV4", "<init>", "([B[B[BII)V");
    Class& exceptionV3 = withMethod("quorvel/rvx/v3/RVXException", "<init>", "(I)V");
    Class& exceptionV4 = withMethod("quorvel/rvx/v4/RVXExceptionV4", "<init>", "(I)V");
    Class& outputStream = withMethod("java/io/OutputStream", "write", "([B)V");
    Class& plainObject = jvm.defineClass("java/lang/Object");

    Class& textInfoClass(const char* name) {
        Class& cls = jvm.defineClass(name);
        cls.fields = {{"GroupName", "[B"}, {"DefLangName", "[B"}, {"bBigEndian", "I"},
                      {"Option", "J"},     {"Option1", "J"},      {"Size", "J"},
                      {"Csv_c", "I"}};
        return cls;
    }
    Class& propertyClass(const char* name) {
        Class& cls = jvm.defineClass(name);
        for (const char* field : kPropertyNames) {
            cls.fields[field] = "Ljava/lang/String;";
        }
        return cls;
    }
    Class& oleErrClass() {
        Class& cls = jvm.defineClass("quorvel/rvx/v4/RVXOleErr");
        cls.fields = {{"LevNum", "Ljava/lang/Integer;"},
                      {"DtctResult", "Ljava/lang/String;"},
                      {"ErrCode", "Ljava/lang/Long;"}};
        return cls;
    }
    Class& withMethod(const char* name, const char* method, const char* signature) {
        Class& cls = jvm.defineClass(name);
        cls.methods[method] = signature;
        return cls;
    }

    jobject textInfo(Class& cls, const std::string& group, jlong option) {
        Object* info = jvm.newObject(cls);
        info->fields["GroupName"].object = jvm.newByteArray(group);
        info->fields["Option"].number = option;
        info->fields["Csv_c"].number = 0x12345;
        return reinterpret_cast<jobject>(info);
    }
    jbyteArray bytes(const std::string& text) { return jvm.newByteArray(text); }
    jclass classRef(Class& cls) { return reinterpret_cast<jclass>(&cls); }
};

JavaWorld& world() {
    static JavaWorld instance;
    return instance;
}

class BridgeAbi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(bridgeLibrary, nullptr) << "rvxjava is not loaded";
        world().jvm.resetCounters();
        world().jvm.clearPending();
        engine.reset();
    }
    void TearDown() override {
        for (const std::string& misuse : jvm().misuses()) {
            ADD_FAILURE() << "JNI misuse: " << misuse;
        }
    }

    Jvm& jvm() { return world().jvm; }
    JNIEnv* env() { return world().jvm.env(); }

    void initAllFIDs() {
        nativeMethod<InitFIDs>("Java_quorvel_rvx_v3_RVXTextInfo_initFIDs", 8)(
            env(), world().classRef(world().textInfoV3));
        nativeMethod<InitFIDs>("Java_quorvel_rvx_v4_RVXTextInfoV4_initFIDs", 8)(
            env(), world().classRef(world().textInfoV4));
        nativeMethod<InitFIDs>("Java_quorvel_rvx_v3_RVXProperty_initFIDs", 8)(
            env(), world().classRef(world().propertyV3));
        nativeMethod<InitFIDs>("Java_quorvel_rvx_v4_RVXPropertyV4_initFIDs", 8)(
            env(), world().classRef(world().propertyV4));
        ASSERT_EQ(jvm().pending(), nullptr) << jvm().pendingClass();
    }

    Engine engine;
};

// Runs first: it loads the library that the other tests use.
TEST(BridgeLoading, LoadsOnlyBesideTheEngine) {
    ASSERT_EQ(bridgeLibrary, nullptr);
    EXPECT_EQ(openLibrary(RVXJAVA_LIBRARY), nullptr) << "rvxjava loaded without rvx_txif";
    engineLibrary = openLibrary(SCRIPTED_ENGINE_LIBRARY);
    ASSERT_NE(engineLibrary, nullptr);
    bridgeLibrary = openLibrary(RVXJAVA_LIBRARY);
    ASSERT_NE(bridgeLibrary, nullptr);
}

// Runs before any cache is filled.
TEST_F(BridgeAbi, AnUnfilledCacheRaisesIllegalStateExceptionNamingTheClass) {
    const auto getTextV4 = nativeMethod<TextCall>("Java_quorvel_rvx_v4_RVXnativeV4_getTextV4", 20);
    getTextV4(env(), nullptr, world().bytes("in"), world().bytes("out"),
              world().textInfo(world().textInfoV4, "g", 1));
    EXPECT_EQ(jvm().pendingClass(), "java/lang/IllegalStateException");
    EXPECT_NE(jvm().pendingMessage().find("quorvel.rvx.v4.RVXTextInfoV4"), std::string::npos);
    jvm().clearPending();

    const auto getPropertyV4 =
        nativeMethod<PropertyCall>("Java_quorvel_rvx_v4_RVXnativeV4_getPropertyV4", 20);
    getPropertyV4(env(), nullptr, world().bytes("in"), world().textInfo(world().textInfoV4, "g", 1),
                  reinterpret_cast<jobject>(jvm().newObject(world().propertyV4)));
    EXPECT_EQ(jvm().pendingClass(), "java/lang/IllegalStateException");
    EXPECT_NE(jvm().pendingMessage().find("quorvel.rvx.v4.RVXPropertyV4"), std::string::npos);
    EXPECT_EQ(engine.calls(), 0);
}

TEST_F(BridgeAbi, InitFIDsStopsAtTheFirstMissingField) {
    const auto initFIDs = nativeMethod<InitFIDs>("Java_quorvel_rvx_v4_RVXTextInfoV4_initFIDs", 8);
    const auto getTextV4 = nativeMethod<TextCall>("Java_quorvel_rvx_v4_RVXnativeV4_getTextV4", 20);
    jvm().failLookupOf("bBigEndian");
    initFIDs(env(), world().classRef(world().textInfoV4));
    jvm().failLookupOf("");
    EXPECT_EQ(jvm().pendingClass(), "java/lang/NoSuchFieldError");
    EXPECT_EQ(jvm().fieldLookups(), 3) << "lookups went on after the failure";
    jvm().clearPending();

    getTextV4(env(), nullptr, world().bytes("in"), world().bytes("out"),
              world().textInfo(world().textInfoV4, "g", 1));
    EXPECT_EQ(jvm().pendingClass(), "java/lang/IllegalStateException");
    EXPECT_EQ(engine.calls(), 0);
    jvm().clearPending();

    initAllFIDs();
    EXPECT_EQ(getTextV4(env(), nullptr, world().bytes("in"), world().bytes("out"),
                        world().textInfo(world().textInfoV4, "g", 1)),
              0);
    EXPECT_EQ(engine.lastOperation(), 402);
}

// One text call: its export, its argument bytes and what the engine receives.
struct TextCallCase {
    const char* name;
    int argumentBytes;
    int ordinal;
    bool v3;
    bool paged;
    bool password;
};

class TextCalls : public BridgeAbi, public ::testing::WithParamInterface<TextCallCase> {};

TEST_P(TextCalls, ReachTheEngineWithEveryArgument) {
    initAllFIDs();
    const TextCallCase& call = GetParam();
    const std::string name = std::string("Java_quorvel_rvx_") +
                             (call.v3 ? "v3_RVXnativeV3_" : "v4_RVXnativeV4_") + call.name;
    const jbyteArray in = world().bytes("doc\x93\xFA");
    const jbyteArray out = world().bytes("out.txt");
    const jbyteArray pwd = world().bytes("secret");
    const jobject info =
        world().textInfo(call.v3 ? world().textInfoV3 : world().textInfoV4, "grp", 0x100000001LL);
    engine.setStoredPage(77);

    jint result;
    if (call.paged && call.password) {
        result = nativeMethod<PwdPageTextCall>(name, call.argumentBytes)(env(), nullptr, in, out,
                                                                         info, 0, pwd);
    } else if (call.paged) {
        result =
            nativeMethod<PageTextCall>(name, call.argumentBytes)(env(), nullptr, in, out, info, 0);
    } else if (call.password) {
        result =
            nativeMethod<PwdTextCall>(name, call.argumentBytes)(env(), nullptr, in, out, info, pwd);
    } else {
        result = nativeMethod<TextCall>(name, call.argumentBytes)(env(), nullptr, in, out, info);
    }

    EXPECT_EQ(result, call.paged ? 77 : 0);
    EXPECT_EQ(engine.lastOperation(), call.ordinal);
    EXPECT_EQ(engine.lastArgument(0), "doc\x93\xFA");
    EXPECT_EQ(engine.lastArgument(1), "out.txt");
    EXPECT_EQ(engine.lastArgument(2), call.password ? "secret" : "<none>");
    const auto record = engine.lastTextInfo();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data())), "grp");
    std::int32_t option;
    std::uint16_t csv;
    std::memcpy(&option, record.data() + 516, sizeof option);
    std::memcpy(&csv, record.data() + 528, sizeof csv);
    EXPECT_EQ(option, 1);
    EXPECT_EQ(csv, 0x2345);
    EXPECT_LE(jvm().peakLocalRefs(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    AllEight, TextCalls,
    ::testing::Values(TextCallCase{"getTextV3", 20, 302, true, false, false},
                      TextCallCase{"getPageTextV3", 24, 303, true, true, false},
                      TextCallCase{"getPwdTextV3", 24, 305, true, false, true},
                      TextCallCase{"getPwdPageTextV3", 28, 306, true, true, true},
                      TextCallCase{"getTextV4", 20, 402, false, false, false},
                      TextCallCase{"getPageTextV4", 24, 403, false, true, false},
                      TextCallCase{"getPwdTextV4", 24, 405, false, false, true},
                      TextCallCase{"getPwdPageTextV4", 28, 406, false, true, true}),
    [](const ::testing::TestParamInfo<TextCallCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(BridgeAbi, PageCallRaisesTheEngineCodeAsItsGenerationsException) {
    initAllFIDs();
    engine.setResult(42);
    const auto getPageTextV3 =
        nativeMethod<PageTextCall>("Java_quorvel_rvx_v3_RVXnativeV3_getPageTextV3", 24);
    EXPECT_EQ(getPageTextV3(env(), nullptr, world().bytes("in"), world().bytes("out"),
                            world().textInfo(world().textInfoV3, "", 0), 3),
              42);
    ASSERT_EQ(jvm().pendingClass(), "quorvel/rvx/v3/RVXException");
    ASSERT_EQ(jvm().pending()->constructorArguments.size(), 1u);
    EXPECT_EQ(jvm().pending()->constructorArguments[0].number, 42);
}

std::string fileInfoRecord() {
    std::string record(296, '\0');
    std::memcpy(&record[0], "Plain text", 10);
    std::memcpy(&record[128], "UTF-8", 5);
    const std::int32_t numbers[] = {1234, -7};
    std::memcpy(&record[288], numbers, sizeof numbers);
    return record;
}

TEST_F(BridgeAbi, FileInfoBuildsTheResultObject) {
    const auto getRVXFileInfoV4 =
        nativeMethod<FileInfoCall>("Java_quorvel_rvx_v4_RVXnativeV4_getRVXFileInfoV4", 12);
    engine.setRecord(fileInfoRecord());
    const auto* result =
        reinterpret_cast<Object*>(getRVXFileInfoV4(env(), nullptr, world().bytes("doc")));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(engine.lastOperation(), 401);
    EXPECT_EQ(result->cls->name, "quorvel/rvx/v4/RVXfileInfoV4");
    ASSERT_EQ(result->constructorArguments.size(), 5u);
    const auto arrayText = [&](std::size_t i) {
        return reinterpret_cast<Object*>(result->constructorArguments[i].object)->bytes;
    };
    EXPECT_EQ(arrayText(0), "Plain text");
    EXPECT_EQ(arrayText(1), "UTF-8");
    EXPECT_EQ(arrayText(2), "");
    EXPECT_EQ(result->constructorArguments[3].number, 1234);
    EXPECT_EQ(result->constructorArguments[4].number, -7);
    EXPECT_LE(jvm().liveLocalRefs(), 1) << "only the result stays referenced";
}

TEST_F(BridgeAbi, FileInfoEngineErrorRaisesTheException) {
    const auto getRVXFileInfoV3 =
        nativeMethod<FileInfoCall>("Java_quorvel_rvx_v3_RVXnativeV3_getRVXFileInfoV3", 12);
    engine.setResult(-3);
    EXPECT_EQ(getRVXFileInfoV3(env(), nullptr, world().bytes("doc")), nullptr);
    EXPECT_EQ(engine.lastOperation(), 301);
    ASSERT_EQ(jvm().pendingClass(), "quorvel/rvx/v3/RVXException");
    EXPECT_EQ(jvm().pending()->constructorArguments.at(0).number, -3);
}

TEST_F(BridgeAbi, FileInfoWithoutItsResultClassLeavesTheLookupErrorPending) {
    const auto getRVXFileInfoV3 =
        nativeMethod<FileInfoCall>("Java_quorvel_rvx_v3_RVXnativeV3_getRVXFileInfoV3", 12);
    EXPECT_EQ(getRVXFileInfoV3(env(), nullptr, world().bytes("doc")), nullptr);
    EXPECT_EQ(jvm().pendingClass(), "java/lang/NoClassDefFoundError");
    EXPECT_EQ(jvm().pendingMessage(), "quorvel/rvx/v3/RVXfileInfo");
}

TEST_F(BridgeAbi, FileInfoWithoutJavaHeapLeavesOutOfMemoryErrorPending) {
    const auto getRVXFileInfoV4 =
        nativeMethod<FileInfoCall>("Java_quorvel_rvx_v4_RVXnativeV4_getRVXFileInfoV4", 12);
    engine.setRecord(fileInfoRecord());
    jvm().failNewByteArray(true);
    EXPECT_EQ(getRVXFileInfoV4(env(), nullptr, world().bytes("doc")), nullptr);
    EXPECT_EQ(jvm().pendingClass(), "java/lang/OutOfMemoryError");
    EXPECT_EQ(jvm().liveLocalRefs(), 0);
}

TEST_F(BridgeAbi, PropertiesFillAll67FieldsWithFewLocalReferences) {
    initAllFIDs();
    std::string record(26964, '\0');
    std::memcpy(&record[0], "The title", 9);
    std::memcpy(&record[26708], "1.2.3", 5);
    std::memcpy(&record[1028], "Ren\xC3\xA9 \xFF", 8);
    engine.setRecord(record);
    Object* property = jvm().newObject(world().propertyV3);
    const auto getPwdProperty =
        nativeMethod<PwdPropertyCall>("Java_quorvel_rvx_v3_RVXnativeV3_getPwdProperty", 24);
    EXPECT_EQ(getPwdProperty(env(), nullptr, world().bytes("doc"),
                             world().textInfo(world().textInfoV3, "", 0),
                             reinterpret_cast<jobject>(property), world().bytes("pw")),
              0);
    EXPECT_EQ(engine.lastOperation(), 307);
    EXPECT_EQ(engine.lastArgument(2), "pw");
    ASSERT_EQ(property->fields.size(), 67u);
    const auto text = [&](const char* name) {
        return reinterpret_cast<Object*>(property->fields[name].object)->bytes;
    };
    EXPECT_EQ(text("title"), "The title");
    EXPECT_EQ(text("author"), "Ren\xC3\xA9 \xEF\xBF\xBD");
    EXPECT_EQ(text("version_number"), "1.2.3");
    EXPECT_EQ(text("keyword"), "");
    EXPECT_LE(jvm().peakLocalRefs(), 3);
}

// One property call: its export, its argument bytes and its engine operation.
struct PropertyCallCase {
    const char* name;
    int argumentBytes;
    int ordinal;
    bool v3;
    bool password;
};

class PropertyCalls : public BridgeAbi, public ::testing::WithParamInterface<PropertyCallCase> {};

TEST_P(PropertyCalls, ReachTheEngineAndFillTheObject) {
    initAllFIDs();
    const PropertyCallCase& call = GetParam();
    const std::string name = std::string("Java_quorvel_rvx_") +
                             (call.v3 ? "v3_RVXnativeV3_" : "v4_RVXnativeV4_") + call.name;
    std::string record(26964, '\0');
    std::memcpy(&record[0], "The title", 9);
    std::memcpy(&record[26708], "1.2.3", 5);
    engine.setRecord(record);
    Object* property = jvm().newObject(call.v3 ? world().propertyV3 : world().propertyV4);
    const jbyteArray in = world().bytes("doc");
    const jobject info =
        world().textInfo(call.v3 ? world().textInfoV3 : world().textInfoV4, "grp", 0x100000001LL);
    const auto object = reinterpret_cast<jobject>(property);

    const jint result =
        call.password ? nativeMethod<PwdPropertyCall>(name, call.argumentBytes)(
                            env(), nullptr, in, info, object, world().bytes("pw"))
                      : nativeMethod<PropertyCall>(name, call.argumentBytes)(env(), nullptr, in,
                                                                             info, object);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(engine.lastOperation(), call.ordinal);
    EXPECT_EQ(engine.lastArgument(0), "doc");
    EXPECT_EQ(engine.lastArgument(2), call.password ? "pw" : "<none>");
    const auto textInfo = engine.lastTextInfo();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(textInfo.data())), "grp");
    std::int32_t bigEndian;
    std::int32_t option;
    std::memcpy(&bigEndian, textInfo.data() + 512, sizeof bigEndian);
    std::memcpy(&option, textInfo.data() + 516, sizeof option);
    EXPECT_EQ(bigEndian, 1);
    EXPECT_EQ(option, 1);
    ASSERT_EQ(property->fields.size(), 67u);
    const auto text = [&](const char* field) {
        return reinterpret_cast<Object*>(property->fields[field].object)->bytes;
    };
    EXPECT_EQ(text("title"), "The title");
    EXPECT_EQ(text("version_number"), "1.2.3");
}

INSTANTIATE_TEST_SUITE_P(AllFour, PropertyCalls,
                         ::testing::Values(PropertyCallCase{"getProperty", 20, 304, true, false},
                                           PropertyCallCase{"getPwdProperty", 24, 307, true, true},
                                           PropertyCallCase{"getPropertyV4", 20, 404, false, false},
                                           PropertyCallCase{"getPwdPropertyV4", 24, 407, false,
                                                            true}),
                         [](const ::testing::TestParamInfo<PropertyCallCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(BridgeAbi, StreamDeliversIn255ByteArraysAndReleasesEach) {
    initAllFIDs();
    engine.setText(std::string(600, 's'));
    const auto getTextStreamV4 =
        nativeMethod<StreamCall>("Java_quorvel_rvx_v4_RVXnativeV4_getTextStreamV4", 20);
    EXPECT_EQ(getTextStreamV4(env(), nullptr, world().bytes("doc"),
                              reinterpret_cast<jobject>(jvm().newObject(world().outputStream)),
                              world().textInfo(world().textInfoV4, "", 0)),
              0);
    EXPECT_EQ(engine.lastOperation(), 420);
    std::vector<std::size_t> sizes;
    for (const std::string& bytes : jvm().writes()) {
        sizes.push_back(bytes.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{255, 255, 90}));
    EXPECT_LE(jvm().peakLocalRefs(), 2);
    EXPECT_EQ(engine.lastTellp(), -1);
    EXPECT_EQ(engine.lastSeekpos(), 0);
}

TEST_F(BridgeAbi, AFailedWriteEndsDeliveryAndIsTheExceptionRaised) {
    initAllFIDs();
    engine.setText(std::string(2000, 's'));
    engine.setResult(5);
    jvm().failWritesFrom(1);
    const auto getPageTextStreamV4 =
        nativeMethod<PageStreamCall>("Java_quorvel_rvx_v4_RVXnativeV4_getPageTextStreamV4", 24);
    getPageTextStreamV4(env(), nullptr, world().bytes("doc"),
                        reinterpret_cast<jobject>(jvm().newObject(world().outputStream)),
                        world().textInfo(world().textInfoV4, "", 0), 2);
    EXPECT_EQ(engine.lastOperation(), 421);
    EXPECT_EQ(engine.lastPageOnEntry(), 2);
    EXPECT_EQ(jvm().writes().size(), 1u);
    EXPECT_EQ(jvm().pendingClass(), "java/io/IOException");
}

TEST_F(BridgeAbi, AStreamWithoutJavaHeapStopsDeliveringAndKeepsTheError) {
    initAllFIDs();
    engine.setText(std::string(1000, 's'));
    engine.setResult(6);
    jvm().failNewByteArray(true);
    const auto getPageTextStreamV4 =
        nativeMethod<PageStreamCall>("Java_quorvel_rvx_v4_RVXnativeV4_getPageTextStreamV4", 24);
    EXPECT_EQ(getPageTextStreamV4(env(), nullptr, world().bytes("doc"),
                                  reinterpret_cast<jobject>(jvm().newObject(world().outputStream)),
                                  world().textInfo(world().textInfoV4, "", 0), 1),
              6);
    EXPECT_TRUE(jvm().writes().empty());
    EXPECT_EQ(jvm().pendingClass(), "java/lang/OutOfMemoryError");
}

TEST_F(BridgeAbi, AStreamWithoutWriteIsRefusedBeforeTheEngineRuns) {
    initAllFIDs();
    const auto getTextStreamV4 =
        nativeMethod<StreamCall>("Java_quorvel_rvx_v4_RVXnativeV4_getTextStreamV4", 20);
    getTextStreamV4(env(), nullptr, world().bytes("doc"),
                    reinterpret_cast<jobject>(jvm().newObject(world().plainObject)),
                    world().textInfo(world().textInfoV4, "", 0));
    EXPECT_EQ(jvm().pendingClass(), "java/lang/NoSuchMethodError");
    EXPECT_EQ(engine.calls(), 0);
}

TEST_F(BridgeAbi, EveryOleErrFieldIsLookedUp) {
    Class& oleErr = world().oleErrClass();
    nativeMethod<InitFIDs>("Java_quorvel_rvx_v4_RVXOleErr_initFIDs", 8)(env(),
                                                                        world().classRef(oleErr));
    EXPECT_EQ(jvm().pending(), nullptr);
    EXPECT_EQ(jvm().fieldLookups(), 3);
}

TEST_F(BridgeAbi, EachInitFIDsLooksUpItsFieldsInOrderWithTheirSignatures) {
    const std::vector<std::string> textInfo = {"GroupName [B", "DefLangName [B", "bBigEndian I",
                                               "Option J",     "Option1 J",      "Size J",
                                               "Csv_c I"};
    std::vector<std::string> property;
    for (const char* name : kPropertyNames) {
        property.push_back(std::string(name) + " Ljava/lang/String;");
    }
    const std::vector<std::string> oleErr = {"LevNum Ljava/lang/Integer;",
                                             "DtctResult Ljava/lang/String;",
                                             "ErrCode Ljava/lang/Long;"};
    const struct {
        const char* function;
        Class& cls;
        const std::vector<std::string>& lookups;
    } cases[] = {
        {"Java_quorvel_rvx_v3_RVXTextInfo_initFIDs", world().textInfoV3, textInfo},
        {"Java_quorvel_rvx_v4_RVXTextInfoV4_initFIDs", world().textInfoV4, textInfo},
        {"Java_quorvel_rvx_v3_RVXProperty_initFIDs", world().propertyV3, property},
        {"Java_quorvel_rvx_v4_RVXPropertyV4_initFIDs", world().propertyV4, property},
        {"Java_quorvel_rvx_v4_RVXOleErr_initFIDs", world().oleErrClass(), oleErr},
    };
    for (const auto& initFIDs : cases) {
        const std::size_t before = jvm().lookedUpFields().size();
        nativeMethod<InitFIDs>(initFIDs.function, 8)(env(), world().classRef(initFIDs.cls));
        EXPECT_EQ(jvm().pending(), nullptr) << initFIDs.function;
        const std::vector<std::string> lookups(jvm().lookedUpFields().begin() + before,
                                               jvm().lookedUpFields().end());
        EXPECT_EQ(lookups, initFIDs.lookups) << initFIDs.function;
    }
}

// A page call whose exception class cannot be built leaves the error of the
// failing step pending, still returns the engine's code and releases its
// local references.
TEST_F(BridgeAbi, AnExceptionThatCannotBeBuiltLeavesTheFailingStepsError) {
    initAllFIDs();
    const auto getPageTextV4 =
        nativeMethod<PageTextCall>("Java_quorvel_rvx_v4_RVXnativeV4_getPageTextV4", 24);
    Class& exception = world().exceptionV4;
    const struct {
        const char* broken;
        void (*breakClass)(Class&);
        void (*repairClass)(Class&);
        const char* error;
    } cases[] = {
        {"no (I)V constructor", [](Class& cls) { cls.methods.erase("<init>"); },
         [](Class& cls) { cls.methods["<init>"] = "(I)V"; }, "java/lang/NoSuchMethodError"},
        {"no class", [](Class& cls) { cls.name = "missing/RVXExceptionV4"; },
         [](Class& cls) { cls.name = "quorvel/rvx/v4/RVXExceptionV4"; },
         "java/lang/NoClassDefFoundError"},
    };
    for (const auto& failure : cases) {
        engine.setResult(9);
        failure.breakClass(exception);
        const jint result = getPageTextV4(env(), nullptr, world().bytes("in"), world().bytes("out"),
                                          world().textInfo(world().textInfoV4, "", 0), 3);
        failure.repairClass(exception);
        EXPECT_EQ(result, 9) << failure.broken;
        EXPECT_EQ(jvm().pendingClass(), failure.error) << failure.broken;
        EXPECT_EQ(jvm().liveLocalRefs(), 0) << failure.broken;
        jvm().clearPending();
    }
}

// Strings that fill their slot to its last byte are cut there; the last
// slot ends the record, so reading on would leave it (which the sanitizer
// build reports).
TEST_F(BridgeAbi, PropertySlotsWithoutNulAreCutAtTheirEnd) {
    initAllFIDs();
    std::string record(26964, '\0');
    record.replace(26708, 256, std::string(256, 'v'));  // version_number, the last slot
    record.replace(13360, 32, std::string(32, 'e'));    // encryptionflag
    engine.setRecord(record);
    Object* property = jvm().newObject(world().propertyV4);
    const auto getPropertyV4 =
        nativeMethod<PropertyCall>("Java_quorvel_rvx_v4_RVXnativeV4_getPropertyV4", 20);
    EXPECT_EQ(getPropertyV4(env(), nullptr, world().bytes("doc"),
                            world().textInfo(world().textInfoV4, "", 0),
                            reinterpret_cast<jobject>(property)),
              0);
    const auto text = [&](const char* name) {
        return reinterpret_cast<Object*>(property->fields[name].object)->bytes;
    };
    EXPECT_EQ(text("version_number"), std::string(256, 'v'));
    EXPECT_EQ(text("encryptionflag"), std::string(32, 'e'));
    EXPECT_EQ(text("slides"), "");
}

}  // namespace
