#include <gtest/gtest.h>
#include <windows.h>
// The shell headers need <windows.h> first.
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/shell.h"
#include "support/scratch_directory.h"

namespace kav::platform {
namespace {

using testing::ScratchDirectory;

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A link file read back through the shell's own link class.
struct LoadedLink {
    bool loaded = false;
    std::string target, workingDirectory, arguments, description, iconFile;
    int iconIndex = -1;
};

LoadedLink LoadLink(const std::string& path) {
    LoadedLink result;
    ::CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(path.begin(), path.end());
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char buffer[MAX_PATH] = {};
            result.loaded = true;
            link->GetPath(buffer, MAX_PATH, nullptr, 0);
            result.target = buffer;
            link->GetWorkingDirectory(buffer, MAX_PATH);
            result.workingDirectory = buffer;
            link->GetArguments(buffer, MAX_PATH);
            result.arguments = buffer;
            link->GetDescription(buffer, MAX_PATH);
            result.description = buffer;
            link->GetIconLocation(buffer, MAX_PATH, &result.iconIndex);
            result.iconFile = buffer;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    ::CoUninitialize();
    return result;
}

TEST(Win32ShellTest, CreateLinkWritesALinkTheShellReadsBack) {
    ScratchDirectory scratch;
    testing::WriteWholeFile(scratch / "tool.exe", "MZ");
    ShellLink link;
    link.target = scratch / "tool.exe";
    link.workingDirectory = scratch.Path() + "\\";
    link.arguments = "/quiet";
    link.description = "The tool";
    link.iconFile = scratch / "tool.exe";
    link.iconIndex = 0;
    Win32Shell shell;
    ASSERT_TRUE(shell.CreateLink(scratch / "Tool.lnk", link));

    const LoadedLink loaded = LoadLink(scratch / "Tool.lnk");
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.target, link.target);
    EXPECT_EQ(loaded.workingDirectory, link.workingDirectory);
    EXPECT_EQ(loaded.arguments, "/quiet");
    EXPECT_EQ(loaded.description, "The tool");
    EXPECT_EQ(loaded.iconFile, link.iconFile);
    EXPECT_EQ(loaded.iconIndex, 0);

    // Writing again replaces the link.
    link.arguments = "/again";
    ASSERT_TRUE(shell.CreateLink(scratch / "Tool.lnk", link));
    EXPECT_EQ(LoadLink(scratch / "Tool.lnk").arguments, "/again");
}

TEST(Win32ShellTest, CreateLinkInAMissingFolderFailsAndLeavesNothing) {
    ScratchDirectory scratch;
    testing::WriteWholeFile(scratch / "tool.exe", "MZ");
    ShellLink link;
    link.target = scratch / "tool.exe";
    Win32Shell shell;
    EXPECT_FALSE(shell.CreateLink(scratch / "missing\\Tool.lnk", link));
    EXPECT_FALSE(Exists(scratch / "missing"));
}

TEST(Win32ShellTest, ExecuteReportsAMissingFileAsFailure) {
    ScratchDirectory scratch;
    Win32Shell shell;
    EXPECT_LE(shell.Execute(scratch / "missing.exe", "", scratch.Path(), SW_SHOW), 32);
}

TEST(Win32ShellTest, ExecuteStartsTheProgramInTheGivenDirectoryWithoutWaiting) {
    ScratchDirectory scratch;
    Win32Shell shell;
    const int result =
        shell.Execute("cmd.exe", "/c echo started>launched.txt", scratch.Path(), SW_HIDE);
    EXPECT_GT(result, 32);
    // The program runs on its own; give it a moment to write its file into
    // the working directory it was given.
    bool appeared = false;
    for (int i = 0; i < 200 && !appeared; ++i) {
        appeared = Exists(scratch / "launched.txt");
        if (!appeared) ::Sleep(50);
    }
    EXPECT_TRUE(appeared);
    ::Sleep(100);  // let cmd close the file before the scratch folder goes
}

}  // namespace
}  // namespace kav::platform
