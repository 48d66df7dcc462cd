// The engine's shortcut step on the test machine: where the links land,
// which folders are made, and what the uninstall script records.
#include <gtest/gtest.h>

#include "base/ascii_case.h"
#include "install/install_engine.h"
#include "setup/file_operations.h"
#include "setup/system_paths.h"
#include "support/test_machine.h"

namespace kav::wizard::testing {
namespace {

class DestView final : public install::InstallView {
public:
    void ShowSource(const std::string& text) override { sources.push_back(text); }
    void ShowDest(const std::string& text) override { dests.push_back(text); }
    void SetProgressMax(int) override {}
    void StepProgress() override { ++steps; }
    std::vector<std::string> sources, dests;
    int steps = 0;
};

// The test machine with a shell that records each link instead of writing
// it, or refuses it.
class LinkRecordingMachine final : public platform::ForwardingMachine, platform::Shell {
public:
    using ForwardingMachine::ForwardingMachine;
    platform::Shell& ShellOps() override { return *this; }
    int Execute(const std::string&, const std::string&, const std::string&, int) override {
        return 33;
    }
    bool CreateLink(const std::string& path, const platform::ShellLink& link) override {
        paths.push_back(path);
        links.push_back(link);
        return !refuse;
    }

    std::vector<std::string> paths;
    std::vector<platform::ShellLink> links;
    bool refuse = false;
};

class ShortcutStepTest : public setup::testing::MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        run_.configuration = std::make_unique<setup::InstallConfiguration>();
        run_.systemDriveRoot = Dir() + "\\";
        run_.temporaryDirectory = Dir() + "\\Temp";
        run_.configuration->Directories = {"<INSTALLDIR>~", "<SUB1><INSTALLDIR>~Data"};
        WriteFile(run_.temporaryDirectory + "\\install.exe", "MZ");
        WriteFile(run_.temporaryDirectory + "\\install.cfg", "");
        dest_ = Dir() + "\\Apps\\Tool";
        windows_ = setup::WindowsDirectory(machine_->SystemDirs());
        // A name of its own per test, so that links of earlier tests on a
        // real machine do not count.
        name_ =
            std::string("Tool ") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        choices_ = {dest_, false, false, "Tool 1.0"};
    }

    void Desktop(std::vector<std::string> entries) { run_.configuration->Desktop = entries; }
    std::string Entry(const std::string& program, const char* desktop, const char* startMenu) {
        return name_ + "~" + program + "~" + desktop + "~" + startMenu + "~<X>ico\\t.ico~Kit " +
               name_;
    }
    void MakePlaces() {
        setup::ForceDirectories(Files(), windows_ + "\\Desktop");
        setup::ForceDirectories(Files(), windows_ + "\\Start Menu");
    }
    void Install(platform::Machine* machine = nullptr) {
        install::InstallEngine engine(machine != nullptr ? *machine : *machine_, run_, view_);
        engine.Run(choices_);
    }
    bool LinkIn(const std::string& place) {
        return Files().FileExists(windows_ + place + name_ + ".lnk");
    }
    std::string Folder() { return "Kit " + name_; }
    // The keys of one section of the uninstall script, in order.
    std::vector<std::string> Records(const std::string& section) {
        const std::string text = ReadFile(dest_ + "\\uninstall.cfg");
        std::vector<std::string> keys;
        bool inside = false;
        for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
            end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(at, end - at);
            if (!line.empty() && line.front() == '[') {
                inside = line == "[" + section + "]";
            } else if (inside && !line.empty()) {
                keys.push_back(line.substr(0, line.rfind('=')));
            }
        }
        return keys;
    }
    std::vector<std::string> LinkRecords() {
        std::vector<std::string> keys;
        for (const std::string& key : Records("UNINS")) {
            if (key.find(name_) != std::string::npos) keys.push_back(key);
        }
        return keys;
    }

    setup::RunState run_;
    DestView view_;
    install::InstallChoices choices_;
    std::string dest_, windows_, name_;
};

TEST_F(ShortcutStepTest, NoFolderBoxesMakesTheProgramsFolderAndTheTickedDirectLinks) {
    MakePlaces();
    Desktop({Entry("<installdir>bin\\t.exe", "X", "X")});
    choices_.desktopTicked = {name_};
    choices_.startMenuTicked = {name_};
    Install();
    EXPECT_TRUE(LinkIn("\\Start Menu\\Programs\\" + Folder() + "\\"));
    EXPECT_TRUE(LinkIn("\\Desktop\\"));
    EXPECT_TRUE(LinkIn("\\Start Menu\\"));
    EXPECT_EQ(Records("Folders"),
              std::vector<std::string>{windows_ + "\\Start Menu\\Programs\\" + Folder()});
    const std::vector<std::string> expected = {
        windows_ + "\\Desktop\\" + name_ + ".*", windows_ + "\\Start Menu\\" + name_ + ".*",
        windows_ + "\\Start Menu\\Programs\\" + Folder() + "\\" + name_ + ".*"};
    EXPECT_EQ(LinkRecords(), expected);
    EXPECT_EQ(view_.dests, std::vector<std::string>{Folder()});
    EXPECT_EQ(view_.steps, 1);
    EXPECT_NE(std::find(view_.sources.begin(), view_.sources.end(), "Creating Icons and Folders"),
              view_.sources.end());
}

TEST_F(ShortcutStepTest, FolderOnDesktopMakesBothFoldersAndRecordsThemInOrder) {
    Desktop({Entry("<INSTALLDIR>t.exe", "", "")});
    choices_.shortcuts.FolderDesktop = true;
    Install();
    EXPECT_TRUE(LinkIn("\\Desktop\\" + Folder() + "\\"));
    EXPECT_TRUE(LinkIn("\\Start Menu\\Programs\\" + Folder() + "\\"));
    const std::vector<std::string> folders = {windows_ + "\\Desktop\\" + Folder(),
                                              windows_ + "\\Start Menu\\Programs\\" + Folder()};
    EXPECT_EQ(Records("Folders"), folders);
    EXPECT_EQ(LinkRecords(), (std::vector<std::string>{folders[0] + "\\" + name_ + ".*",
                                                       folders[1] + "\\" + name_ + ".*"}));
}

TEST_F(ShortcutStepTest, FolderInStartMenuAloneSkipsProgramsButStillRecordsIt) {
    Desktop({Entry("<INSTALLDIR>t.exe", "X", "X")});
    choices_.shortcuts.FolderStartMenu = true;
    // The user unticked both direct links; a ticked name differing in case
    // does not count either.
    choices_.desktopTicked = {};
    choices_.startMenuTicked = {base::AsciiUpper(name_)};
    Install();
    EXPECT_TRUE(LinkIn("\\Start Menu\\" + Folder() + "\\"));
    EXPECT_FALSE(LinkIn("\\Start Menu\\Programs\\" + Folder() + "\\"));
    EXPECT_FALSE(LinkIn("\\Desktop\\"));
    EXPECT_FALSE(LinkIn("\\Start Menu\\"));
    const std::vector<std::string> folders = {windows_ + "\\Start Menu\\" + Folder(),
                                              windows_ + "\\Start Menu\\Programs\\" + Folder()};
    EXPECT_EQ(Records("Folders"), folders);
    EXPECT_EQ(LinkRecords(), (std::vector<std::string>{folders[0] + "\\" + name_ + ".*",
                                                       folders[1] + "\\" + name_ + ".*"}));
}

TEST_F(ShortcutStepTest, AMissingDirectLinkPlaceIsNotMadeAndItsRecordStays) {
    if (!Simulated()) GTEST_SKIP() << "the real Windows directory has its desktop";
    Desktop({Entry("<INSTALLDIR>t.exe", "X", "")});
    choices_.desktopTicked = {name_};
    Install();
    EXPECT_FALSE(Files().DirectoryExists(windows_ + "\\Desktop"));
    EXPECT_TRUE(LinkIn("\\Start Menu\\Programs\\" + Folder() + "\\"));
    EXPECT_EQ(LinkRecords().front(), windows_ + "\\Desktop\\" + name_ + ".*");
}

TEST_F(ShortcutStepTest, EntriesOfNoRowOrNamingOutsideTheirPlaceAreLeftOut) {
    const std::string folder = Folder();
    Desktop({Entry("<NOWHERE>t.exe", "", ""), Entry("<SUB1><INSTALLDIR>t.exe", "", ""),
             "..~<INSTALLDIR>t.exe~~~~" + folder, "x~<INSTALLDIR>t.exe~~~~..\\..\\" + folder,
             "a\\b~<INSTALLDIR>t.exe~~~~" + folder});
    Install();
    EXPECT_EQ(view_.steps, 0);
    EXPECT_TRUE(view_.dests.empty());
    EXPECT_TRUE(Records("Folders").empty());
    EXPECT_FALSE(Files().DirectoryExists(windows_ + "\\Start Menu\\Programs\\" + folder));
}

TEST_F(ShortcutStepTest, TheFolderIsEverythingAfterTheFifthTilde) {
    Desktop({name_ + "~<INSTALLDIR>t.exe~~~~Kit~" + name_});
    Install();
    EXPECT_TRUE(LinkIn("\\Start Menu\\Programs\\Kit~" + name_ + "\\"));
}

TEST_F(ShortcutStepTest, EveryPlaceGetsTheSameLinkInItsOrder) {
    LinkRecordingMachine shell(*machine_);
    Desktop({Entry("<INSTALLDIR>bin\\t.exe", "X", "X")});
    choices_.shortcuts.FolderDesktop = true;
    choices_.shortcuts.FolderStartMenu = true;
    choices_.desktopTicked = {name_};
    choices_.startMenuTicked = {name_};
    Install(&shell);
    const std::string file = name_ + ".lnk";
    const std::vector<std::string> paths = {
        windows_ + "\\Desktop\\" + Folder() + "\\" + file,
        windows_ + "\\Start Menu\\Programs\\" + Folder() + "\\" + file,
        windows_ + "\\Start Menu\\" + Folder() + "\\" + file, windows_ + "\\Desktop\\" + file,
        windows_ + "\\Start Menu\\" + file};
    EXPECT_EQ(shell.paths, paths);
    for (const platform::ShellLink& link : shell.links) {
        EXPECT_EQ(link.target, dest_ + "\\bin\\t.exe");
        EXPECT_EQ(link.workingDirectory, dest_ + "\\bin\\");
        // The icon's tag is not used: its path is taken in the program's row.
        EXPECT_EQ(link.iconFile, dest_ + "\\ico\\t.ico");
        EXPECT_EQ(link.iconIndex, 0);
    }
}

TEST_F(ShortcutStepTest, ARefusedLinkEndsTheEntrysLinksButNotItsRecordsOrTheNextEntry) {
    LinkRecordingMachine shell(*machine_);
    shell.refuse = true;
    Desktop({Entry("<INSTALLDIR>t.exe", "X", ""), "Second~<INSTALLDIR>u.exe~~~~Other"});
    choices_.desktopTicked = {name_};
    Install(&shell);
    EXPECT_EQ(shell.paths.size(), 2u);  // one per entry: the first place each
    EXPECT_EQ(LinkRecords().size(), 2u);
    EXPECT_EQ(Records("Folders").size(), 2u);
}

}  // namespace
}  // namespace kav::wizard::testing
