// System directories, short names, the shell, restart, the processor and
// the non-modal toolkit services, on either machine. Ending the session is
// not tried here: on a real machine it would end it.
#include "conformance_fixture.h"

namespace kav::platform::testing {
namespace {

using SystemConformance = PlatformConformance;

TEST_F(SystemConformance, WindowsDirectoryIsAnExistingFullPath) {
    const std::string windows = M().SystemDirs().WindowsDirectory();
    ASSERT_GE(windows.size(), 3u);
    EXPECT_LE(windows.size(), 143u);
    EXPECT_EQ(windows.substr(1, 2), ":\\");
    EXPECT_NE(windows.back(), '\\');
    EXPECT_TRUE(Files().DirectoryExists(windows));
    EXPECT_EQ(Upper(windows.substr(2)), "\\WINDOWS");
}

TEST_F(SystemConformance, ShortPathNamesHaveThe83FormAndNameTheSameFile) {
    ASSERT_TRUE(Files().MakeDirectory(InScratch("Long Directory Name")));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("Long Directory Nam2")));
    const std::string file = InScratch("Long Directory Name\\Another Long File.text");
    WriteFile(file, "same file");

    const std::string shortFile = M().SystemDirs().ShortPathName(file);
    ASSERT_FALSE(shortFile.empty());
    EXPECT_EQ(Upper(shortFile.substr(0, 3)), "C:\\");
    const auto components = ComponentsOf(shortFile);
    EXPECT_EQ(components.size(), ComponentsOf(file).size());
    for (const std::string& component : components) {
        EXPECT_TRUE(HasShortForm(component)) << component;
    }
    EXPECT_EQ(ReadFile(shortFile), "same file");

    const std::string first = M().SystemDirs().ShortPathName(InScratch("Long Directory Name"));
    const std::string second = M().SystemDirs().ShortPathName(InScratch("Long Directory Nam2"));
    EXPECT_NE(Upper(first), Upper(second));
    EXPECT_TRUE(Files().DirectoryExists(first));
    EXPECT_TRUE(Files().DirectoryExists(second));
    EXPECT_EQ(Upper(M().SystemDirs().ShortPathName(Upper(file))), Upper(shortFile));
}

TEST_F(SystemConformance, ShortPathNameOfShortAndMissingPaths) {
    WriteFile(InScratch("short.txt"), "x");
    const std::string shortScratch = M().SystemDirs().ShortPathName(Scratch());
    ASSERT_FALSE(shortScratch.empty());
    EXPECT_EQ(Upper(M().SystemDirs().ShortPathName(InScratch("short.txt"))),
              Upper(shortScratch + "\\short.txt"));
    EXPECT_EQ(M().SystemDirs().ShortPathName("C:\\"), "C:\\");
    EXPECT_EQ(M().SystemDirs().ShortPathName(InScratch("does not exist")), "");
    EXPECT_EQ(M().SystemDirs().ShortPathName(InScratch("missing dir\\short.txt")), "");
}

TEST_F(SystemConformance, ExecuteReportsWhetherTheFileCouldBeStarted) {
    WriteFile(InScratch("quiet.bat"), "@exit\r\n");
    EXPECT_GT(M().ShellOps().Execute("quiet.bat", "", Scratch() + "\\", 0), 32);
    EXPECT_LE(M().ShellOps().Execute(InScratch("missing.exe"), "", Scratch(), 5), 32);
}

TEST_F(SystemConformance, CreateLinkWritesOrReplacesTheLinkFile) {
    WriteFile(InScratch("run.exe"), "MZ");
    ShellLink link;
    link.target = InScratch("run.exe");
    link.workingDirectory = Scratch() + "\\";
    link.iconFile = InScratch("run.exe");
    const std::string linkPath = InScratch("Run Tool.lnk");
    ASSERT_TRUE(M().ShellOps().CreateLink(linkPath, link));
    EXPECT_TRUE(Files().FileExists(linkPath));
    link.description = "replaced";
    EXPECT_TRUE(M().ShellOps().CreateLink(linkPath, link));
    EXPECT_EQ(Files().FindFiles(InScratch("*.lnk"), 0).size(), 1u);

    EXPECT_FALSE(M().ShellOps().CreateLink(InScratch("no dir\\x.lnk"), link));
    EXPECT_FALSE(Files().FileExists(InScratch("no dir\\x.lnk")));
}

TEST_F(SystemConformance, ShutdownPrivilegeCanBeEnabledAndDisabled) {
    EXPECT_TRUE(M().Restarter().AdjustPrivilege("SeShutdownPrivilege", true));
    EXPECT_TRUE(M().Restarter().AdjustPrivilege("SeShutdownPrivilege", false));
    EXPECT_FALSE(M().Restarter().AdjustPrivilege("SeNoSuchPrivilege", true));
}

TEST_F(SystemConformance, NonModalToolkitServicesReturn) {
    M().Cpu().YieldTimeSlice();
    M().Ui().SetCursor(Cursor::HourGlass);
    M().Ui().SetCursor(Cursor::Default);
    M().Ui().ProcessMessages();
    EXPECT_FALSE(M().Ui().Terminated());
}

}  // namespace
}  // namespace kav::platform::testing
