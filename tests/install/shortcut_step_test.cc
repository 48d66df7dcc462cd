// The engine's shortcut step on the test machine: where the links land,
// which folders are made, and what the uninstall script records.
#include <gtest/gtest.h>

#include "base/ascii_case.h"
#include "install/install_engine.h"
#include "install/link_places.h"
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
        places_ = install::LinkPlaces::Of(machine_->SystemDirs());
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
        setup::ForceDirectories(Files(), places_.desktop);
        setup::ForceDirectories(Files(), places_.startMenu);
    }
    void Install(platform::Machine* machine = nullptr) {
        install::InstallEngine engine(machine != nullptr ? *machine : *machine_, run_, view_);
        engine.Run(choices_);
    }
    bool LinkIn(const std::string& place) { return Files().FileExists(place + name_ + ".lnk"); }
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
    install::LinkPlaces places_;
};

TEST_F(ShortcutStepTest, NoFolderBoxesMakesTheProgramsFolderAndTheTickedDirectLinks) {
    MakePlaces();
    Desktop({Entry("<installdir>bin\\t.exe", "X", "X")});
    choices_.desktopTicked = {name_};
    choices_.startMenuTicked = {name_};
    Install();
    EXPECT_TRUE(LinkIn(places_.programs + Folder() + "\\"));
    EXPECT_TRUE(LinkIn(places_.desktop));
    EXPECT_TRUE(LinkIn(places_.startMenu));
    EXPECT_EQ(Records("Folders"), std::vector<std::string>{places_.programs + Folder()});
    const std::vector<std::string> expected = {places_.desktop + name_ + ".*",
                                               places_.startMenu + name_ + ".*",
                                               places_.programs + Folder() + "\\" + name_ + ".*"};
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
    EXPECT_TRUE(LinkIn(places_.desktop + Folder() + "\\"));
    EXPECT_TRUE(LinkIn(places_.programs + Folder() + "\\"));
    const std::vector<std::string> folders = {places_.desktop + Folder(),
                                              places_.programs + Folder()};
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
    EXPECT_TRUE(LinkIn(places_.startMenu + Folder() + "\\"));
    EXPECT_FALSE(LinkIn(places_.programs + Folder() + "\\"));
    EXPECT_FALSE(LinkIn(places_.desktop));
    EXPECT_FALSE(LinkIn(places_.startMenu));
    const std::vector<std::string> folders = {places_.startMenu + Folder(),
                                              places_.programs + Folder()};
    EXPECT_EQ(Records("Folders"), folders);
    EXPECT_EQ(LinkRecords(), (std::vector<std::string>{folders[0] + "\\" + name_ + ".*",
                                                       folders[1] + "\\" + name_ + ".*"}));
}

TEST_F(ShortcutStepTest, AMissingDirectLinkPlaceIsNotMadeAndItsRecordStays) {
    if (!Simulated()) GTEST_SKIP() << "the real Windows directory has its desktop";
    Files().RemoveEmptyDirectory(places_.desktop);
    Desktop({Entry("<INSTALLDIR>t.exe", "X", "")});
    choices_.desktopTicked = {name_};
    Install();
    EXPECT_FALSE(Files().DirectoryExists(places_.desktop));
    EXPECT_TRUE(LinkIn(places_.programs + Folder() + "\\"));
    EXPECT_EQ(LinkRecords().front(), places_.desktop + name_ + ".*");
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
    EXPECT_FALSE(Files().DirectoryExists(places_.programs + folder));
}

// Without a folder name the folder links go straight into their places:
// the direct links still come as ticked, and the uninstall records only
// the links, never a link place as a folder of its own.
TEST_F(ShortcutStepTest, AnEmptyFolderPutsTheLinksStraightIntoTheirPlaces) {
    MakePlaces();
    Desktop({name_ + "~<INSTALLDIR>t.exe~X~X~~"});
    choices_.desktopTicked = {name_};
    choices_.startMenuTicked = {name_};
    Install();
    EXPECT_TRUE(LinkIn(places_.programs));
    EXPECT_TRUE(LinkIn(places_.desktop));
    EXPECT_TRUE(LinkIn(places_.startMenu));
    EXPECT_TRUE(Records("Folders").empty());
    EXPECT_EQ(LinkRecords(), (std::vector<std::string>{places_.desktop + name_ + ".*",
                                                       places_.startMenu + name_ + ".*",
                                                       places_.programs + name_ + ".*"}));

    LinkRecordingMachine shell(*machine_);
    choices_.shortcuts.FolderDesktop = true;
    choices_.shortcuts.FolderStartMenu = true;
    Install(&shell);
    const std::string file = name_ + ".lnk";
    EXPECT_EQ(shell.paths,
              (std::vector<std::string>{places_.desktop + file, places_.programs + file,
                                        places_.startMenu + file, places_.desktop + file,
                                        places_.startMenu + file}));
    EXPECT_TRUE(Records("Folders").empty());
}

TEST_F(ShortcutStepTest, TheFolderIsEverythingAfterTheFifthTilde) {
    Desktop({name_ + "~<INSTALLDIR>t.exe~~~~Kit~" + name_});
    Install();
    EXPECT_TRUE(LinkIn(places_.programs + "Kit~" + name_ + "\\"));
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
    const std::vector<std::string> paths = {places_.desktop + Folder() + "\\" + file,
                                            places_.programs + Folder() + "\\" + file,
                                            places_.startMenu + Folder() + "\\" + file,
                                            places_.desktop + file, places_.startMenu + file};
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

// The shell names the link places: an administrator's links go to the
// folders shared by all users, anyone else's to the user's own, quick
// launch below the application data; none below the Windows directory.
TEST_F(ShortcutStepTest, LinksGoWhereTheShellKeepsThemForAllUsersOrTheUser) {
    using platform::ShellFolder;
    const std::string shell = Dir() + "\\Shell";
    machine_->shellFolders.folders = {{ShellFolder::kCommonPrograms, shell + "\\All\\Programs"},
                                      {ShellFolder::kCommonStartMenu, shell + "\\All"},
                                      {ShellFolder::kCommonDesktop, shell + "\\Public"},
                                      {ShellFolder::kPrograms, shell + "\\Me\\Programs"},
                                      {ShellFolder::kStartMenu, shell + "\\Me"},
                                      {ShellFolder::kDesktop, shell + "\\Desk"},
                                      {ShellFolder::kAppData, shell + "\\Roaming\\"}};
    LinkRecordingMachine recorder(*machine_);
    Desktop({Entry("<INSTALLDIR>t.exe", "X", "X")});
    choices_.shortcuts.FolderDesktop = true;
    choices_.shortcuts.FolderStartMenu = true;
    choices_.desktopTicked = {name_};
    choices_.startMenuTicked = {name_};
    const std::string file = name_ + ".lnk";
    const auto expect = [&](const std::string& desktop, const std::string& startMenu) {
        const std::string programs = startMenu + "\\Programs\\" + Folder();
        EXPECT_EQ(recorder.paths,
                  (std::vector<std::string>{desktop + "\\" + Folder() + "\\" + file,
                                            programs + "\\" + file,
                                            startMenu + "\\" + Folder() + "\\" + file,
                                            desktop + "\\" + file, startMenu + "\\" + file}));
        EXPECT_EQ(Records("Folders"),
                  (std::vector<std::string>{desktop + "\\" + Folder(), startMenu + "\\" + Folder(),
                                            programs}));
        recorder.paths.clear();
    };
    machine_->shellFolders.administrator = true;
    Install(&recorder);
    expect(shell + "\\Public", shell + "\\All");
    machine_->shellFolders.administrator = false;
    Install(&recorder);
    expect(shell + "\\Desk", shell + "\\Me");

    install::TShortcuts quick = choices_.shortcuts;
    quick.FolderDesktop = quick.FolderStartMenu = quick.Desktop = quick.StartMenu = false;
    quick.FolderQuickLaunch = quick.QuickLaunch = true;
    quick.ProgramName = name_;
    quick.Folder = Folder();
    quick.CreateShortcuts(recorder);
    const std::string bar = shell + "\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\";
    EXPECT_EQ(recorder.paths,
              (std::vector<std::string>{bar + Folder() + "\\" + file,
                                        shell + "\\Me\\Programs\\" + Folder() + "\\" + file,
                                        bar + file}));

    // The simulated machine plays a current Windows unless told otherwise.
    if (Simulated()) {
        EXPECT_NE(base::AsciiUpper(places_.programs).rfind(base::AsciiUpper(windows_), 0), 0u);
        EXPECT_NE(base::AsciiUpper(places_.desktop).rfind(base::AsciiUpper(windows_), 0), 0u);
    }
}

}  // namespace
}  // namespace kav::wizard::testing
