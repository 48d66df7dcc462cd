// The uninstaller's logic on the simulated machine: an edited script that
// names shared places, a file in use, the title check, and the command
// line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "install/text_file.h"
#include "install/uninstall_script.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_machine.h"
#include "uninstall/product_remover.h"
#include "uninstall/registration.h"
#include "widgets/headless/headless_backend.h"

namespace kav::uninstall {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;

class UninstallOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("uninstall_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        machine_ = std::make_unique<platform::sim::SimMachine>(root_.string(), ui_);
    }
    void TearDown() override {
        machine_.reset();
        fs::remove_all(root_);
    }

    platform::FileSystem& Files() { return machine_->Files(); }
    platform::Registry& Reg() { return machine_->RegistryKeys(); }
    void Write(const std::string& path, const std::string& text) {
        const std::size_t cut = path.find_last_of('\\');
        std::string at;
        for (std::size_t i = path.find('\\', 3); i != std::string::npos && i <= cut;
             i = path.find('\\', i + 1)) {
            Files().MakeDirectory(path.substr(0, i));
        }
        auto stream = Files().Create(path);
        stream->WriteExactly(text.data(), text.size());
    }
    std::string ReadFile(const std::string& path) {
        return Files().FileExists(path) ? install::ReadWholeFile(Files(), path) : "<missing>";
    }
    UninstallResult Remove(const std::string& script, const UninstallOptions& options = {}) {
        const auto record = ReadUninstallRecord(Files(), script);
        CheckTitle(record, "Tool 1.0");
        return RemoveProduct(*machine_, record, options);
    }
    static bool Lists(const std::vector<Leftover>& left, const std::string& item) {
        for (const auto& l : left) {
            if (l.item == item) return true;
        }
        return false;
    }

    fs::path root_;
    widgets::headless::HeadlessBackend ui_;
    std::unique_ptr<platform::sim::SimMachine> machine_;
};

TEST_F(UninstallOnSim, AnEditedScriptRemovesNothingOutsideTheProduct) {
    const std::vector<std::string> others = {
        "C:\\WINDOWS\\win.ini",      "C:\\WINDOWS\\SYSTEM\\shared.dll",
        "C:\\autoexec.bat",          "C:\\other.txt",
        "C:\\Apps\\Other\\keep.txt", "C:\\WINDOWS\\Start Menu\\Programs\\Other\\Other.lnk",
        "C:\\Program Files\\x.txt"};
    for (const auto& path : others) Write(path, "theirs");
    Write("C:\\Apps\\Tool\\a.txt", "mine");
    Write("C:\\Apps\\Tool\\Sub\\b.txt", "mine");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::LocalMachine, "Software\\Other\\Product", "v", "1"));
    ASSERT_TRUE(Reg().SetStringValue(
        RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "x", "y"));
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, "Control Panel\\Desktop", "w", "z"));
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Tool 1.0\r\n"
          "[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\nC:\\WINDOWS\\*.*=\r\nC:\\*.*=\r\n"
          "C:\\WINDOWS\\SYSTEM\\*.*=\r\nC:\\WINDOWS\\SYSTEM\\shared.dll=\r\n"
          "C:\\Apps\\Tool\\..\\Other\\keep.txt=\r\nC:\\Apps\\Tool\\..\\..\\WINDOWS\\win.ini=\r\n"
          "C:\\Apps\\Tool\\*\\*.*=\r\nC:\\Apps\\Tool\\Sub\\..\\..\\..\\*.*=\r\n"
          "C:\\WINDOWS\\Start Menu\\Programs\\Other\\*.*=\r\nC:\\Program Files\\*.*=\r\n"
          "C:\\WINDOWS\\Start Menu\\Programs\\Other\\Oth*.*=\r\n"
          "[Folders]\r\nC:\\WINDOWS\\Start Menu\\Programs=\r\nC:\\WINDOWS\\Start Menu\\..=\r\n"
          "[Registry]\r\nHKEY_LOCAL_MACHINE\\Software=\r\nHKEY_LOCAL_MACHINE=\r\n"
          "HKEY_LOCAL_MACHINE\\Software\\Other=\r\n"
          "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run=\r\n"
          "HKEY_LOCAL_MACHINE\\Software\\Tool\\X\\..\\..\\Other=\r\nControl Panel\\Desktop=\r\n"
          "[Directories]\r\nC:\\WINDOWS=\r\nC:\\=\r\nC:\\Program Files=\r\nC:\\Apps\\Other=\r\n"
          "C:\\Apps\\Tool\\..\\..\\WINDOWS\\SYSTEM=\r\nC:\\Apps\\Tool=\r\n"
          "[File States]\r\nC:\\WINDOWS\\SYSTEM\\..\\SYSTEM\\shared.dll=kept\r\n"
          "C:\\Apps\\Tool\\a.txt=new\r\nC:\\Apps\\Tool\\Sub\\b.txt=new\r\n");

    const UninstallResult result = Remove("C:\\Apps\\Tool\\uninstall.cfg");

    for (const auto& path : others) EXPECT_TRUE(Files().FileExists(path)) << path;
    EXPECT_FALSE(Files().FileExists("C:\\Apps\\Tool\\a.txt"));
    EXPECT_FALSE(Files().FileExists("C:\\Apps\\Tool\\uninstall.cfg"));
    // Only the named folder's own files: Sub is not reached by "*.*".
    EXPECT_TRUE(Files().FileExists("C:\\Apps\\Tool\\Sub\\b.txt"));
    EXPECT_TRUE(Files().DirectoryExists("C:\\WINDOWS\\Start Menu\\Programs"));
    EXPECT_TRUE(Reg().ReadStringValue(RootKey::LocalMachine, "Software\\Other\\Product", "v"));
    EXPECT_TRUE(Reg().ReadStringValue(RootKey::LocalMachine,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "x"));
    EXPECT_TRUE(Reg().ReadStringValue(RootKey::CurrentUser, "Control Panel\\Desktop", "w"));
    EXPECT_EQ(result.removed,
              (std::vector<std::string>{"C:\\Apps\\Tool\\a.txt", "C:\\Apps\\Tool\\uninstall.cfg"}));
    EXPECT_TRUE(result.atRestart.empty());
    for (const char* refused :
         {"C:\\WINDOWS\\*.*", "C:\\*.*", "C:\\Apps\\Tool\\*\\*.*", "C:\\Apps\\Other\\keep.txt",
          "C:\\WINDOWS\\win.ini", "C:\\WINDOWS\\SYSTEM\\shared.dll", "HKEY_LOCAL_MACHINE\\Software",
          "C:\\WINDOWS\\Start Menu\\Programs", "C:\\Apps\\Tool (not empty)"}) {
        const std::string text = refused;
        const bool found = std::any_of(
            result.left.begin(), result.left.end(),
            [&](const Leftover& l) { return (l.item + " (" + l.reason + ")").find(text) == 0; });
        EXPECT_TRUE(found) << refused;
    }
}

TEST_F(UninstallOnSim, AFileInUseGoesAtTheNextRestartWithItsFolder) {
    Write("C:\\Apps\\Tool\\a.txt", "mine");
    Write("C:\\Apps\\Tool\\busy.dll", "mine");
    Write("C:\\Apps\\Tool\\uninstaller.exe", "MZ");
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Tool 1.0\r\n[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n"
          "C:\\Apps\\Tool\\Setup\\*.*=\r\n[Directories]\r\nC:\\Apps\\Tool=\r\n"
          "[File States]\r\nC:\\Apps\\Tool\\a.txt=new\r\nC:\\Apps\\Tool\\busy.dll=new\r\n"
          "C:\\Apps\\Tool\\uninstaller.exe=new\r\n");
    UninstallOptions options;
    options.runningProgram = "C:\\Apps\\Tool\\uninstaller.exe";
    std::vector<std::string> steps;
    options.progress = [&](const std::string& item, int done, int total) {
        EXPECT_LE(done, total);
        steps.push_back(item);
    };
    UninstallResult result;
    {
        const auto held = Files().OpenRead("C:\\Apps\\Tool\\busy.dll");
        result = Remove("C:\\Apps\\Tool\\uninstall.cfg", options);
    }
    EXPECT_FALSE(Files().FileExists("C:\\Apps\\Tool\\a.txt"));
    EXPECT_TRUE(result.RestartNeeded());
    EXPECT_EQ(result.atRestart,
              (std::vector<std::string>{"C:\\Apps\\Tool\\busy.dll",
                                        "C:\\Apps\\Tool\\uninstaller.exe", "C:\\Apps\\Tool"}));
    const auto journal = platform::sim::ReadJournal(root_.string());
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[2], (std::vector<std::string>{"RemoveAtRestart", "C:\\Apps\\Tool", "true"}));
    EXPECT_TRUE(result.left.empty());
    EXPECT_FALSE(steps.empty());
}

// The links of a product are where the shell keeps them; the shell's own
// folders stay, as do other products' links there.
TEST_F(UninstallOnSim, ProductLinksInTheShellsFoldersGoAndTheFoldersStay) {
    const std::string programs =
        machine_->SystemDirs().ShellFolderPath(platform::ShellFolder::kCommonPrograms);
    const std::string desktop =
        machine_->SystemDirs().ShellFolderPath(platform::ShellFolder::kDesktop);
    Write(programs + "\\Tool\\Tool.lnk", "L");
    Write(programs + "\\Other\\Other.lnk", "L");
    Write(desktop + "\\Tool.lnk", "L");
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Tool 1.0\r\n[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n" + desktop +
              "\\Tool.*=\r\n" + programs + "\\Tool\\Tool.*=\r\n[Folders]\r\n" + programs +
              "\\Tool=\r\n" + programs + "=\r\n");
    const UninstallResult result = Remove("C:\\Apps\\Tool\\uninstall.cfg");
    EXPECT_FALSE(Files().FileExists(desktop + "\\Tool.lnk"));
    EXPECT_FALSE(Files().DirectoryExists(programs + "\\Tool"));
    EXPECT_TRUE(Files().FileExists(programs + "\\Other\\Other.lnk"));
    EXPECT_TRUE(Lists(result.left, programs));
}

// An install directory the installer would refuse (in the Windows
// directory, or "Program Files" itself in its short spelling) is no install
// directory to the uninstaller either: its patterns reach nothing there,
// whatever the script says was new.
TEST_F(UninstallOnSim, AFolderTheInstallerRefusesLosesNothingToItsPatterns) {
    Write("C:\\Program Files\\x.txt", "theirs");
    const std::string shortProgramFiles = machine_->SystemDirs().ShortPathName("C:\\Program Files");
    ASSERT_NE(shortProgramFiles.find('~'), std::string::npos);
    for (const std::string& folder :
         {std::string("C:\\WINDOWS\\SYSTEM\\DRIVERS"), std::string("C:\\WINDOWS\\Help\\..\\FONTS"),
          shortProgramFiles}) {
        Write(folder + "\\x.txt", "theirs");
        Write(folder + "\\uninstall.cfg", "[Program]\r\nTitle=Tool 1.0\r\n[UNINS]\r\n" + folder +
                                              "\\*.*=\r\n[Directories]\r\n" + folder +
                                              "=\r\n[File States]\r\n" + folder +
                                              "\\x.txt=new\r\n");
        const UninstallResult result = Remove(folder + "\\uninstall.cfg");
        EXPECT_TRUE(Files().FileExists(folder + "\\x.txt")) << folder;
        EXPECT_TRUE(Files().DirectoryExists(folder)) << folder;
        EXPECT_TRUE(Lists(result.left, folder + "\\*.*")) << folder;
    }
}

// Places that only look like the product's by their spelling, files it
// found there, and a system folder that happens to be empty.
TEST_F(UninstallOnSim, NeighboursFoundFilesAndEmptySystemFoldersStay) {
    const std::string desktop =
        machine_->SystemDirs().ShellFolderPath(platform::ShellFolder::kDesktop);
    const std::vector<std::string> theirs = {"C:\\Apps\\Tool2\\x.txt",
                                             "C:\\Apps\\Tool2\\y.txt",
                                             "C:\\Apps\\Tool\\Setup\\Saved2\\a.txt",
                                             "C:\\WINDOWS\\Desktop2\\Other.lnk",
                                             "C:\\Apps\\Tool\\found.txt",
                                             desktop + "\\notes.txt"};
    for (const auto& path : theirs) Write(path, "theirs");
    Write("C:\\Apps\\Tool\\a.txt", "mine");
    Files().MakeDirectory("C:\\WINDOWS\\TEMP");
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Tool 1.0\r\n[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n"
          "C:\\Apps\\Tool2\\*.*=\r\nC:\\Apps\\Tool\\..\\Tool2\\y.txt=\r\n"
          "C:\\WINDOWS\\Desktop2\\Other.lnk=\r\n" +
              desktop +
              "\\notes.txt=\r\n"
              "[Directories]\r\nC:\\WINDOWS\\TEMP=\r\nC:\\WINDOWS\\SYSTEM=\r\n"
              "[File States]\r\nC:\\Apps\\Tool2\\x.txt=new\r\nC:\\Apps\\Tool\\found.txt=kept\r\n"
              "C:\\Apps\\Tool\\a.txt=C:\\Apps\\Tool\\Setup\\Saved2\\a.txt\r\n");
    const UninstallResult result = Remove("C:\\Apps\\Tool\\uninstall.cfg");
    for (const auto& path : theirs) EXPECT_EQ(ReadFile(path), "theirs") << path;
    EXPECT_EQ(ReadFile("C:\\Apps\\Tool\\a.txt"), "mine");
    EXPECT_TRUE(Files().DirectoryExists("C:\\WINDOWS\\TEMP"));
    EXPECT_TRUE(Files().DirectoryExists("C:\\WINDOWS\\SYSTEM"));
    const bool keptSaysWhy =
        std::any_of(result.left.begin(), result.left.end(), [](const Leftover& l) {
            return l.item == "C:\\Apps\\Tool\\found.txt" &&
                   l.reason.find("was there before the install") != std::string::npos;
        });
    EXPECT_TRUE(keptSaysWhy);
}

// The product's Uninstall key is the one the script's product ID names,
// not one that merely bears its title.
TEST_F(UninstallOnSim, TheProductIdNamesTheUninstallKeyRemoved) {
    const std::string byId = install::UninstallKey("ZephyrinTool");
    const std::string byTitle = install::UninstallKey("Tool 1.0");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::LocalMachine, byId, "DisplayName", "Tool 1.0"));
    ASSERT_TRUE(Reg().SetStringValue(RootKey::LocalMachine, byTitle, "DisplayName", "Tool 1.0"));
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Tool 1.0\r\nProduct ID=ZephyrinTool\r\n"
          "[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n");
    Remove("C:\\Apps\\Tool\\uninstall.cfg");
    EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, byId));
    EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, byTitle));
}

TEST_F(UninstallOnSim, TheScriptMustBeThereAndBeTheTitlesOwn) {
    EXPECT_THROW(Remove("C:\\Apps\\Tool\\uninstall.cfg"), EUninstallError);
    Write("C:\\Apps\\Tool\\a.txt", "mine");
    Write("C:\\Apps\\Tool\\uninstall.cfg",
          "[Program]\r\nTitle=Other 2.0\r\n[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n");
    EXPECT_THROW(Remove("C:\\Apps\\Tool\\uninstall.cfg"), EUninstallError);
    EXPECT_TRUE(Files().FileExists("C:\\Apps\\Tool\\a.txt"));
}

// The registered command quotes the program's path and the title; the
// uninstaller reads quotes as the command line's own, and refuses a switch
// it does not know.
TEST_F(UninstallOnSim, TheRegisteredCommandReadsBackAsWritten) {
    for (const std::string title : {"Tool 1.0", "Zephyrin  Demo /SILENT 1.0"}) {
        install::UninstallEntry entry;
        entry.title = title;
        entry.installDirectory = "C:\\Program Files\\Tool";
        install::RegisterUninstaller(Reg(), entry);
        const auto registration = FindRegistration(Reg(), title);
        ASSERT_TRUE(registration) << title;
        EXPECT_EQ(registration->program, "C:\\Program Files\\Tool\\uninstaller.exe");
        const UninstallCommand command = ParseUninstallCommand(registration->arguments);
        EXPECT_EQ(command.title, title);
        EXPECT_TRUE(command.Attended()) << title;
        EXPECT_EQ(command.unknownSwitch, "") << title;
    }
    EXPECT_EQ(*Reg().ReadStringValue(RootKey::LocalMachine, install::UninstallKey("Tool 1.0"),
                                     "UninstallString"),
              "\"C:\\Program Files\\Tool\\uninstaller.exe\" \"Tool 1.0\"");
    const auto quoted = ParseUninstallCommand(" /VERYSILENT \"Tool 1.0\"");
    EXPECT_EQ(quoted.title, "Tool 1.0");
    EXPECT_TRUE(quoted.verySilent);
    EXPECT_EQ(ParseUninstallCommand("Tool 1.0 /Quiet /q").unknownSwitch, "/Quiet");
}

TEST(UninstallCommandLine, TheTitleIsWhatIsNotASwitch) {
    const auto silent = ParseUninstallCommand(" /VERYSILENT Zephyrin  Demo 1.0 /x");
    EXPECT_EQ(silent.title, "Zephyrin  Demo 1.0");
    EXPECT_EQ(silent.unknownSwitch, "/x");
    EXPECT_TRUE(silent.verySilent);
    EXPECT_FALSE(silent.silent);
    EXPECT_FALSE(silent.Attended());
    EXPECT_FALSE(ParseUninstallCommand("Tool /SuppressMsgBoxes").Attended());
    EXPECT_TRUE(ParseUninstallCommand("Tool 1.0").Attended());
    const auto plain = ParseUninstallCommand("Tool 1.0 /silent");
    EXPECT_EQ(plain.title, "Tool 1.0");
    EXPECT_TRUE(plain.silent);

    const auto split =
        SplitUninstallString("C:\\Program Files\\Tool.exes\\uninstaller.exe Tool.exe 1.0");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->program, "C:\\Program Files\\Tool.exes\\uninstaller.exe");
    EXPECT_EQ(split->arguments, "Tool.exe 1.0");
    EXPECT_EQ(split->ScriptFile(), "C:\\Program Files\\Tool.exes\\uninstall.cfg");
    const auto quoted = SplitUninstallString("\"C:\\A B\\u.exe\" /SILENT T");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->program, "C:\\A B\\u.exe");
    EXPECT_EQ(quoted->arguments, "/SILENT T");
    EXPECT_FALSE(SplitUninstallString("C:\\Apps\\tool.dll x"));
}

}  // namespace
}  // namespace kav::uninstall
