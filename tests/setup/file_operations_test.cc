// CopyFile, HasAttr, ClearTemporaryDirectory and TWinReboot on a machine:
// the simulated one natively, the real one under Wine.
#include "setup/file_operations.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"
#include "setup/temporary_directory.h"
#include "setup/windows_restart.h"
#include "support/forwarding_file_system.h"
#include "support/test_machine.h"

namespace kav::setup {
namespace {

using testing::MachineTest;

// A file system whose written files take only the first half of what is
// written to them, as a full disk would.
class ShortWritingFiles final : public testing::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::unique_ptr<platform::FileStream> Create(const std::string& p) override {
        return std::make_unique<testing::HalfWrittenStream>(real_.Create(p));
    }
};

class CopyFileTest : public MachineTest {};

TEST_F(CopyFileTest, BufferSizedEmptyAndLargerFilesArriveWhole) {
    ASSERT_TRUE(Files().MakeDirectory(Dir() + "\\dest"));
    for (std::size_t size : {std::size_t{8192}, std::size_t{0}, std::size_t{8192 * 2 + 5}}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>(i * 7);
        WriteFile(Dir() + "\\src.bin", content);
        CopyFile(Files(), Dir() + "\\src.bin", Dir() + "\\dest");
        EXPECT_EQ(ReadFile(Dir() + "\\dest\\src.bin"), content) << size;
    }
    // An existing file as destination is replaced under its own name.
    WriteFile(Dir() + "\\other.bin", "other");
    CopyFile(Files(), Dir() + "\\other.bin", Dir() + "\\dest\\src.bin");
    EXPECT_EQ(ReadFile(Dir() + "\\dest\\src.bin"), "other");
}

TEST_F(CopyFileTest, DirectoryTargetWithOrWithoutBackslashTakesTheSourceName) {
    WriteFile(Dir() + "\\a\\file.txt", "one");
    ASSERT_TRUE(Files().MakeDirectory(Dir() + "\\dest"));
    CopyFile(Files(), Dir() + "\\a\\file.txt", Dir() + "\\dest");
    EXPECT_EQ(ReadFile(Dir() + "\\dest\\file.txt"), "one");
    WriteFile(Dir() + "\\a\\file.txt", "two");
    CopyFile(Files(), Dir() + "\\a\\file.txt", Dir() + "\\dest\\");
    EXPECT_EQ(ReadFile(Dir() + "\\dest\\file.txt"), "two");
}

TEST_F(CopyFileTest, RelativeTargetIsResolvedAgainstTheCurrentDirectory) {
    WriteFile(Dir() + "\\src.txt", "rel");
    ASSERT_TRUE(Files().MakeDirectory(Dir() + "\\sub"));
    ASSERT_TRUE(Files().ChangeDirectory(Dir()));
    CopyFile(Files(), Dir() + "\\src.txt", "sub");
    EXPECT_EQ(ReadFile(Dir() + "\\sub\\src.txt"), "rel");
}

TEST_F(CopyFileTest, FailuresNameTheFileAndCreateNothing) {
    try {
        CopyFile(Files(), Dir() + "\\missing.txt", Dir() + "\\out.txt");
        FAIL() << "no error";
    } catch (const platform::EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + Dir() + "\\missing.txt");
    }
    EXPECT_FALSE(Files().FileExists(Dir() + "\\out.txt"));

    WriteFile(Dir() + "\\src.txt", "new");
    WriteFile(Dir() + "\\locked.txt", "old");
    ASSERT_TRUE(Files().SetAttributes(Dir() + "\\locked.txt", platform::faReadOnly));
    try {
        CopyFile(Files(), Dir() + "\\src.txt", Dir() + "\\locked.txt");
        FAIL() << "no error";
    } catch (const platform::EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + Dir() + "\\locked.txt");
    }
    Files().SetAttributes(Dir() + "\\locked.txt", 0);
    EXPECT_EQ(ReadFile(Dir() + "\\locked.txt"), "old");

    // A missing directory counts as a directory: the name is extended first.
    try {
        CopyFile(Files(), Dir() + "\\src.txt", Dir() + "\\nodir");
        FAIL() << "no error";
    } catch (const platform::EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + Dir() + "\\nodir\\src.txt");
    }
}

TEST_F(CopyFileTest, AShortWriteIsAnErrorAndLeavesNoTruncatedCopy) {
    WriteFile(Dir() + "\\src.txt", std::string(10000, 'x'));
    ASSERT_TRUE(Files().MakeDirectory(Dir() + "\\out"));
    ShortWritingFiles full(Files());
    try {
        CopyFile(full, Dir() + "\\src.txt", Dir() + "\\out");
        FAIL() << "no error";
    } catch (const platform::EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + Dir() + "\\out\\src.txt");
    }
    EXPECT_FALSE(Files().FileExists(Dir() + "\\out\\src.txt"));
    EXPECT_EQ(ReadFile(Dir() + "\\src.txt"), std::string(10000, 'x'));
}

TEST_F(CopyFileTest, HasAttrNeedsEveryBitAndTreatsUnknownNamesAsHavingAll) {
    WriteFile(Dir() + "\\f.txt", "x");
    ASSERT_TRUE(
        Files().SetAttributes(Dir() + "\\f.txt", platform::faReadOnly | platform::faHidden));
    EXPECT_TRUE(HasAttr(Files(), Dir() + "\\f.txt", platform::faReadOnly));
    EXPECT_TRUE(HasAttr(Files(), Dir() + "\\f.txt", platform::faReadOnly | platform::faHidden));
    EXPECT_FALSE(HasAttr(Files(), Dir() + "\\f.txt", platform::faReadOnly | platform::faDirectory));
    EXPECT_TRUE(HasAttr(Files(), Dir(), platform::faDirectory));
    EXPECT_TRUE(HasAttr(Files(), Dir() + "\\nothing", platform::faDirectory | platform::faSysFile));
    Files().SetAttributes(Dir() + "\\f.txt", 0);
}

class ClearDirectoryTest : public MachineTest {};

TEST_F(ClearDirectoryTest, DeletesFilesAndRemovesTheEmptiedDirectory) {
    WriteFile(Dir() + "\\t\\a.txt", "a");
    WriteFile(Dir() + "\\t\\.hidden", "h");
    WriteFile(Dir() + "\\t\\12\\b.txt", "b");  // a folder of the expansion's
    ASSERT_TRUE(Files().SetAttributes(Dir() + "\\t\\.hidden", platform::faHidden));
    ClearTemporaryDirectory(Files(), Dir() + "\\t");
    EXPECT_FALSE(Files().DirectoryExists(Dir() + "\\t"));
}

TEST_F(ClearDirectoryTest, ReadOnlyFilesAndSubdirectoriesStayAndSoDoesTheDirectory) {
    WriteFile(Dir() + "\\t\\a.txt", "a");
    WriteFile(Dir() + "\\t\\ro.txt", "r");
    WriteFile(Dir() + "\\t\\sub\\inner.txt", "i");
    WriteFile(Dir() + "\\t\\7\\inner.txt", "7");
    ASSERT_TRUE(Files().SetAttributes(Dir() + "\\t\\ro.txt", platform::faReadOnly));
    ClearTemporaryDirectory(Files(), Dir() + "\\t");
    EXPECT_FALSE(Files().FileExists(Dir() + "\\t\\a.txt"));
    EXPECT_TRUE(Files().FileExists(Dir() + "\\t\\ro.txt"));
    EXPECT_TRUE(Files().FileExists(Dir() + "\\t\\sub\\inner.txt"));
    EXPECT_FALSE(Files().DirectoryExists(Dir() + "\\t\\7"));
    Files().SetAttributes(Dir() + "\\t\\ro.txt", 0);
}

TEST_F(ClearDirectoryTest, EmptyNamesMissingDirectoriesAndDriveRootsAreLeftAlone) {
    ClearTemporaryDirectory(Files(), "");
    ClearTemporaryDirectory(Files(), Dir() + "\\missing");
    if (!Simulated()) GTEST_SKIP() << "drive roots are only cleared on the simulated machine";
    WriteFile("A:\\install.cfg", "[Setup - Main]");
    ClearTemporaryDirectory(Files(), "A:\\");
    ClearTemporaryDirectory(Files(), "A:");
    ASSERT_TRUE(Files().ChangeDirectory("A:\\"));
    ClearTemporaryDirectory(Files(), ".");
    EXPECT_TRUE(Files().FileExists("A:\\install.cfg"));
}

TEST(WinReboot, EnablesThePrivilegeAroundTheRequestAndReportsARefusal) {
    testing::RecordingRestart restart;
    TWinReboot reboot(restart);
    EXPECT_TRUE(reboot.Reboot(2));
    EXPECT_EQ(restart.calls, (std::vector<std::string>{"enable SeShutdownPrivilege", "exit 2",
                                                       "disable SeShutdownPrivilege"}));
    restart.calls.clear();
    restart.accept = false;
    EXPECT_FALSE(reboot.Reboot(2));
    EXPECT_EQ(restart.calls.back(), "disable SeShutdownPrivilege");
}

}  // namespace
}  // namespace kav::setup
