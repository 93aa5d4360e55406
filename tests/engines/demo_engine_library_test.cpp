// Loads the built demonstration engine the way the bridge binds it (by
// ordinal on Windows, by name elsewhere) and calls it across the library
// boundary, the stream operations with a stream made by this program.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "bridge/engine.h"

namespace {

namespace fs = std::filesystem;

class EngineLibrary {
public:
    explicit EngineLibrary(const char* file) {
#ifdef _WIN32
        handle_ = LoadLibraryA(file);
#else
        handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
#endif
    }

    ~EngineLibrary() {
        if (handle_ == nullptr) return;
#ifdef _WIN32
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
    }

    EngineLibrary(const EngineLibrary&) = delete;
    EngineLibrary& operator=(const EngineLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }

    // The operation that the bridge would bind for this ordinal; null when
    // the library lacks it.
    template <class Function>
    Function* operation([[maybe_unused]] const char* name, [[maybe_unused]] int ordinal) const {
#ifdef _WIN32
        const FARPROC address = GetProcAddress(handle_, MAKEINTRESOURCEA(ordinal));
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(address));
#else
        return reinterpret_cast<Function*>(dlsym(handle_, name));
#endif
    }

private:
#ifdef _WIN32
    HMODULE handle_;
#else
    void* handle_;
#endif
};

class DemoEngineLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.loaded()) << "cannot load " << RVX_DEMO_ENGINE_FILE;
        folder_ = fs::temp_directory_path() /
                  ("rvx-demo-engine-library-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        document_ = (folder_ / "pages.txt").string();
        std::ofstream(document_, std::ios::binary) << "Title line\n\fsecond page\n";
    }

    void TearDown() override { fs::remove_all(folder_); }

    EngineLibrary engine_{RVX_DEMO_ENGINE_FILE};
    fs::path folder_;
    std::string document_;
};

TEST_F(DemoEngineLibraryTest, EveryOperationIsBound) {
    const std::pair<const char*, int> operations[] = {
        {"rvxFileInfoV3", 301},    {"rvxTextV3", 302},         {"rvxPageTextV3", 303},
        {"rvxPropertyV3", 304},    {"rvxPwdTextV3", 305},      {"rvxPwdPageTextV3", 306},
        {"rvxPwdPropertyV3", 307}, {"rvxFileInfoV4", 401},     {"rvxTextV4", 402},
        {"rvxPageTextV4", 403},    {"rvxPropertyV4", 404},     {"rvxPwdTextV4", 405},
        {"rvxPwdPageTextV4", 406}, {"rvxPwdPropertyV4", 407},  {"rvxTextStreamV4", 420},
        {"rvxPageTextStreamV4", 421},
    };
    for (const auto& [name, ordinal] : operations) {
        EXPECT_NE(engine_.operation<void()>(name, ordinal), nullptr) << name << " @" << ordinal;
    }
}

TEST_F(DemoEngineLibraryTest, CallsAcrossTheLibraryBoundary) {
    const auto fileInfo = engine_.operation<decltype(rvxFileInfoV4)>("rvxFileInfoV4", 401);
    const auto pageText = engine_.operation<decltype(rvxPageTextV4)>("rvxPageTextV4", 403);
    const auto property = engine_.operation<decltype(rvxPropertyV4)>("rvxPropertyV4", 404);
    const auto textStream = engine_.operation<decltype(rvxTextStreamV4)>("rvxTextStreamV4", 420);
    const auto pageStream =
        engine_.operation<decltype(rvxPageTextStreamV4)>("rvxPageTextStreamV4", 421);
    ASSERT_TRUE(fileInfo && pageText && property && textStream && pageStream);
    rvx::TextInfoRecV4 textInfo{};

    rvx::FileInfoRec info;
    ASSERT_EQ(fileInfo(document_.c_str(), &info), 0);
    EXPECT_STREQ(info.docFormat, "Plain text");
    EXPECT_EQ(info.second, 2);

    const std::string out = (folder_ / "page2.txt").string();
    std::int32_t page = 2;
    ASSERT_EQ(pageText(document_.c_str(), out.c_str(), &textInfo, &page, nullptr), 0);
    std::ostringstream written;
    written << std::ifstream(out, std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), "second page\n");

    rvx::PropertyRec props;
    ASSERT_EQ(property(document_.c_str(), &textInfo, &props), 0);
    EXPECT_STREQ(props.title, "Title line");

    std::ostringstream whole;
    ASSERT_EQ(textStream(document_.c_str(), &whole, &textInfo, nullptr), 0);
    EXPECT_EQ(whole.str(), "Title line\n\fsecond page\n");

    std::ostringstream counted;
    page = 0;
    ASSERT_EQ(pageStream(document_.c_str(), &counted, &textInfo, &page, nullptr), 0);
    EXPECT_EQ(page, 2);
    EXPECT_EQ(counted.str(), "");
}

}  // namespace
