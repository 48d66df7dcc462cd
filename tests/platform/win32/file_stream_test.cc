// The points where the Win32 streams depend on how files were opened:
// sharing, access rights and the file date set through the handle.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/win32/file_system.h"
#include "support/scratch_directory.h"

namespace kav::platform {
namespace {

using testing::ScratchDirectory;

class Win32FileStreamTest : public ::testing::Test {
protected:
    Win32FileSystem files_;
    ScratchDirectory scratch_;
};

TEST_F(Win32FileStreamTest, WritingThroughAReadOnlyOpenIsAWriteError) {
    testing::WriteWholeFile(scratch_ / "a.bin", "abc");
    auto stream = files_.OpenRead(scratch_ / "a.bin");
    const char byte = 'x';
    EXPECT_THROW(stream->WriteExactly(&byte, 1), EWriteError);
    stream->Seek(0);
    char read[4] = {};
    EXPECT_EQ(stream->Read(read, sizeof read), 3u);
    EXPECT_EQ(std::string(read, 3), "abc");
}

TEST_F(Win32FileStreamTest, ExclusiveOpenKeepsEveryoneElseOut) {
    const std::string path = scratch_ / "archive.bin";
    testing::WriteWholeFile(path, "data");
    {
        auto exclusive = files_.OpenReadExclusive(path);
        try {
            files_.OpenRead(path);
            ADD_FAILURE() << "a second open succeeded";
        } catch (const EFOpenError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
        }
        EXPECT_THROW(files_.Create(path), EFCreateError);
    }
    EXPECT_NO_THROW(files_.OpenReadExclusive(path));  // released with its owner
}

TEST_F(Win32FileStreamTest, SharedReadersExcludeWriters) {
    const std::string path = scratch_ / "source.bin";
    testing::WriteWholeFile(path, "data");
    auto first = files_.OpenRead(path);
    auto second = files_.OpenRead(path);
    EXPECT_THROW(files_.OpenReadExclusive(path), EFOpenError);
    try {
        files_.Create(path);
        ADD_FAILURE() << "a file open for reading was replaced";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
}

TEST_F(Win32FileStreamTest, DosDateIsSetThroughTheHandleOfACreatedFile) {
    const std::string path = scratch_ / "dated.bin";
    const std::uint32_t date =
        (((2001 - 1980) << 9 | 7 << 5 | 14) << 16) | (13 << 11 | 45 << 5 | 30 / 2);
    {
        auto stream = files_.Create(path);
        stream->WriteExactly("xy", 2);
        EXPECT_TRUE(stream->SetDosDateTime(date));
    }
    EXPECT_EQ(files_.GetDosDateTime(path), date);
}

TEST_F(Win32FileStreamTest, SeekingBeforeTheStartFailsAndPastTheEndReadsNothing) {
    auto stream = files_.Create(scratch_ / "s.bin");
    stream->WriteExactly("12345", 5);
    EXPECT_THROW(stream->Seek(-1), EInOutError);
    EXPECT_EQ(stream->Position(), 5);
    stream->Seek(100);
    char buffer[4];
    EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(stream->Size(), 5);
}

}  // namespace
}  // namespace kav::platform
