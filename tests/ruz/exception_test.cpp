#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "ruz/base/exception.h"

namespace RUZ {
namespace {

TEST(Exception, CarriesFileLineAndCode) {
    const int raiseLine = __LINE__ + 2;
    try {
        raiseIO(SourceFile::fileflow, IOException::WriteFailed);
        FAIL() << "nothing was thrown";
    } catch (const IOException& e) {
        EXPECT_STREQ(e.file, "ruz/base/fileflow");
        EXPECT_EQ(e.line, raiseLine);
        EXPECT_EQ(e.code, IOException::WriteFailed);
    }
}

TEST(Exception, CodesHaveTheirFixedValues) {
    EXPECT_EQ(IOException::EndOfFlow, 1);
    EXPECT_EQ(IOException::WriteFailed, 2);
    EXPECT_EQ(IOException::NotOpen, 3);
    EXPECT_EQ(IOException::Unsupported, 5);
    EXPECT_EQ(IOException::InputNotConnected, 6);
    EXPECT_EQ(IOException::OutputNotConnected, 7);
    EXPECT_EQ(IOException::IoError, 8);
    EXPECT_EQ(IOException::BadArgument, 10);
    EXPECT_EQ(FmtException::MissingArgument, 0);
    EXPECT_EQ(FmtException::WrongArgumentKind, 1);
    EXPECT_EQ(FmtException::UnknownConversion, 4);
}

TEST(Exception, ExceptionHandlerCatchesBothKinds) {
    int caught = 0;
    try {
        throw IOException(SourceFile::flow, 1, IOException::NotOpen);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.file, "ruz/base/flow");
        ++caught;
    }
    try {
        raiseFmt(FmtException::WrongArgumentKind);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.file, "ruz/base/formatter");
        ++caught;
    }
    EXPECT_EQ(caught, 2);
}

TEST(Exception, ObjectHandlerCatchesLibraryExceptions) {
    EXPECT_THROW(throw IOException(SourceFile::filter, 1, 6), Object);
    EXPECT_THROW(throw FmtException(SourceFile::formatter, 1, 0), Object);
}

// An IOException handler must let a FmtException pass and the reverse.
TEST(Exception, SiblingHandlersDoNotCatchEachOther) {
    auto throwFmtPastIOHandler = [] {
        try {
            raiseFmt(FmtException::MissingArgument);
        } catch (const IOException&) {
            ADD_FAILURE() << "IOException handler caught a FmtException";
        }
    };
    EXPECT_THROW(throwFmtPastIOHandler(), FmtException);

    auto throwIOPastFmtHandler = [] {
        try {
            raiseIO(SourceFile::strflow, IOException::EndOfFlow);
        } catch (const FmtException&) {
            ADD_FAILURE() << "FmtException handler caught an IOException";
        }
    };
    EXPECT_THROW(throwIOPastFmtHandler(), IOException);
}

TEST(Exception, CopiesShareTheFileText) {
    IOException original(SourceFile::textfilter, 42, IOException::BadArgument);
    IOException copy = original;
    EXPECT_EQ(copy.file, original.file);
    EXPECT_EQ(copy.line, 42);
    EXPECT_EQ(copy.code, IOException::BadArgument);
}

#ifdef _WIN32
// Pinned at build time too, so the 32-bit tree checks it even where its
// programs cannot run.
static_assert(sizeof(unsigned long) == 4, "Windows keeps long at 32 bits");
static_assert(std::is_same_v<ULong, unsigned long>, "the 32-bit unit is unsigned long on Windows");
#endif
static_assert(sizeof(ULong) == 4, "the 32-bit unit is 32 bits wide");

TEST(Platform, UnitWidths) {
    EXPECT_EQ(sizeof(ULong), 4u);
    EXPECT_EQ(sizeof(unsigned short), 2u);
#ifdef _WIN32
    EXPECT_EQ(sizeof(unsigned long), 4u);
    EXPECT_TRUE((std::is_same_v<ULong, unsigned long>));
#endif
}

}  // namespace
}  // namespace RUZ
