// The install engine on the test machine: the directory table, the files
// in place, the uninstall script's text and the registry afterwards.
#include "install/install_engine.h"

#include <gtest/gtest.h>

#include "base/ascii_case.h"
#include "setup/system_paths.h"
#include "support/refusing_registry.h"
#include "support/test_machine.h"
#include "support/wizard_fixture.h"

namespace kav::wizard::testing {
namespace {

using widgets::headless::DialogButton;

// Pure resolution rules: no machine involved.
TEST(DirectoryTableTest, EveryKindOfTagResolvesByTheRulesInTheirOrder) {
    const install::DirectoryBases bases{"C:\\WINDOWS", "C:\\", "C:\\Apps\\Tool", "C:\\Apps\\Tool",
                                        ""};
    const std::pair<const char*, const char*> cases[] = {
        {"<INSTALLDIR>~x", "C:\\Apps\\Tool"},
        {"<SUB1><INSTALLDIR>~Data", "C:\\Apps\\Tool\\Data"},
        {"<windows>~", "C:\\WINDOWS"},
        {"<WINDOWS_SYSTEM>~ignored", "C:\\WINDOWS\\System"},
        {"<PROGRAMFILES>", "C:\\Program Files"},
        {"<SUB2>~Bin", "C:\\Apps\\Tool\\Bin"},
        {"<OTHER>~TOOLS", "C:\\TOOLS"},
        {"<ALT1>~Data", "C:\\Data"},
        {"<SUB1><WINDOWS>~Fonts", "C:\\WINDOWS\\Fonts"},
        {"<SUB1><PROGRAMFILES>~Common", "C:\\Program Files\\Common"},
        {"<SUB1><WINDOWS_SYSTEM>~Drv", "C:\\WINDOWS\\System\\Drv"},
        {"<SUB1><ELSE>~D:\\Shared", "D:\\Shared"},
        // Split at the first "~" only; the path is used as written.
        {"<sub3><installdir>~A~b", "C:\\Apps\\Tool\\A~b"},
    };
    for (const auto& [entry, path] : cases) {
        EXPECT_EQ(install::ResolveDirectory(install::DirectoryEntry::Parse(entry), bases), path)
            << entry;
    }
}

TEST(DirectoryTableTest, LaunchIsRewrittenOnlyByTheWholeTagItStartsWith) {
    const install::DirectoryRow install{"<INSTALLDIR>", "C:\\Apps\\Tool"};
    const install::DirectoryRow sub1{"<SUB1><INSTALLDIR>", "C:\\Apps\\Tool\\Data"};
    const install::DirectoryRow sub2{"<SUB2>", "C:\\Apps\\Tool\\Bin"};
    std::string launch = "<INSTALLDIR>run.exe";
    EXPECT_TRUE(install::RewriteLaunch(launch, install));
    EXPECT_EQ(launch, "C:\\Apps\\Tool\\run.exe");
    EXPECT_FALSE(install::RewriteLaunch(launch, install));  // no tag left

    launch = "<sub2>bin\\run.exe";
    EXPECT_TRUE(install::RewriteLaunch(launch, sub2));
    EXPECT_EQ(launch, "C:\\Apps\\Tool\\Bin\\bin\\run.exe");

    launch = "<SUB1><INSTALLDIR>run.exe";
    EXPECT_FALSE(install::RewriteLaunch(launch, install));
    EXPECT_TRUE(install::RewriteLaunch(launch, sub1));
    EXPECT_EQ(launch, "C:\\Apps\\Tool\\Data\\run.exe");

    launch = "run<INSTALLDIR>.exe";
    EXPECT_FALSE(install::RewriteLaunch(launch, install));
    EXPECT_EQ(launch, "run<INSTALLDIR>.exe");
}

class RecordingView final : public install::InstallView {
public:
    void ShowSource(const std::string& text) override { sources.push_back(text); }
    void ShowDest(const std::string&) override {}
    void SetProgressMax(int value) override { max = value; }
    void StepProgress() override { ++position; }
    std::vector<std::string> sources;
    int max = -1;
    int position = 0;
};

// The test machine with a shell that only records launches and, when asked,
// a registry that refuses every value.
class EngineMachine final : public platform::ForwardingMachine, platform::Shell {
public:
    using ForwardingMachine::ForwardingMachine;
    platform::Registry& RegistryKeys() override {
        return refuseRegistry ? refusing_ : Inner().RegistryKeys();
    }
    platform::Shell& ShellOps() override { return *this; }

    int Execute(const std::string& file, const std::string& parameters,
                const std::string& directory, int show) override {
        launches.push_back(file + "|" + parameters + "|" + directory + "|" + std::to_string(show));
        return 33;
    }
    bool CreateLink(const std::string&, const platform::ShellLink&) override { return false; }

    std::vector<std::string> launches;
    bool refuseRegistry = false;

private:
    setup::testing::RefusingRegistry refusing_{false};
};

class InstallEngineTest : public setup::testing::MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        engineMachine_ = std::make_unique<EngineMachine>(*machine_);
        ResetRun();
        dest_ = Dir() + "\\Apps\\Tool";
        temp_ = Dir() + "\\Temp\\q";
        Temp("install.exe", "MZ");
        Temp("install.cfg", "[Setup - Main]");
    }

    void ResetRun() {
        run_.configuration = std::make_unique<setup::InstallConfiguration>();
        run_.systemDriveRoot = Dir() + "\\";
        run_.temporaryDirectory = Dir() + "\\Temp\\q";
        Config().Directories = {"<INSTALLDIR>~", "<SUB1><INSTALLDIR>~Data"};
    }

    setup::InstallConfiguration& Config() { return *run_.configuration; }
    void Temp(const std::string& name, const std::string& content) {
        WriteFile(temp_ + "\\" + name, content);
    }
    bool Exists(const std::string& path) { return Files().FileExists(path); }

    // Runs the engine; the message of the failure that stopped it, if any.
    std::string Install(const std::string& title = "Tool 1.0") {
        install::InstallEngine engine(*engineMachine_, run_, view_);
        try {
            engine.Run({dest_, workStation_, launchChosen_, title});
        } catch (const kav::Exception& error) {
            return error.what();
        }
        table_ = engine.Table();
        return "";
    }
    // The script's text without its blank lines, which the profile writer
    // puts between sections as it likes.
    std::string Script() {
        std::string text = ReadFile(dest_ + "\\uninstall.cfg");
        for (std::size_t at; (at = text.find("\r\n\r\n")) != std::string::npos;) {
            text.erase(at, 2);
        }
        return text.rfind("\r\n", 0) == 0 ? text.substr(2) : text;
    }
    // The File States lines of the installer's own two files, new.
    std::string InstallerStates() {
        return "[File States]\r\n" + dest_ + "\\install.exe=new\r\n" + dest_ +
               "\\install.cfg=new\r\n";
    }
    // The script's lines from the opening: title, the install directory's
    // patterns, and the directories made for the two default entries.
    std::string Opening(const std::string& title = "Tool 1.0") {
        return "[Program]\r\nTitle=" + title + "\r\n[UNINS]\r\n" + dest_ + "\\*.*=\r\n" + dest_ +
               "\\Setup\\*.*=\r\n";
    }

    setup::RunState run_;
    std::unique_ptr<EngineMachine> engineMachine_;
    RecordingView view_;
    install::DirectoryTable table_;
    std::string dest_, temp_;
    bool workStation_ = false;
    bool launchChosen_ = false;
};

TEST_F(InstallEngineTest, BuildsTheTableInListOrderWithTheInstallDirectoryKnownFirst) {
    Config().Directories = {"<SUB1><INSTALLDIR>~Data", "<INSTALLDIR>~x", "<OTHER>~TOOLS",
                            "<SUB1><INSTALLDIR>~More"};
    ASSERT_EQ(Install(), "");
    const install::DirectoryTable expected = {{"<SUB1><INSTALLDIR>", dest_ + "\\Data"},
                                              {"<INSTALLDIR>", dest_},
                                              {"<OTHER>", Dir() + "\\TOOLS"},
                                              {"<SUB1><INSTALLDIR>", dest_ + "\\More"}};
    ASSERT_EQ(table_.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table_[i].tag, expected[i].tag);
        EXPECT_EQ(table_[i].path, expected[i].path);
        EXPECT_TRUE(Files().DirectoryExists(expected[i].path)) << expected[i].path;
    }
    EXPECT_EQ(ReadFile(dest_ + "\\install.exe"), "MZ");
    EXPECT_EQ(ReadFile(dest_ + "\\install.cfg"), "[Setup - Main]");
    // Directories made before the script opened are recorded once it is.
    EXPECT_EQ(Script(), Opening() + "[Directories]\r\n" + Dir() + "\\Apps=\r\n" + dest_ + "=\r\n" +
                            dest_ + "\\Data=\r\n" + Dir() + "\\TOOLS=\r\n" + dest_ + "\\More=\r\n" +
                            InstallerStates());
}

TEST_F(InstallEngineTest, ADirectoryThatCouldNotBeMadeIsNotRecorded) {
    WriteFile(Dir() + "\\TOOLS", "a file in the way");
    Config().Directories = {"<INSTALLDIR>~", "<OTHER>~TOOLS\\Sub"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(Dir() + "\\TOOLS"), "a file in the way");
    EXPECT_EQ(Script().find("TOOLS"), std::string::npos) << Script();
}

TEST_F(InstallEngineTest, InstallsFilesByDirectoryRowAndRecordsEach) {
    Config().Files = {"a.txt~<INSTALLDIR>~", "d:\\src\\b.dat~<SUB1><INSTALLDIR>~",
                      "c.txt~<NOWHERE>~",    "..~<INSTALLDIR>~",
                      "*.*~<INSTALLDIR>~",   "empty.txt~<INSTALLDIR>~"};
    Config().Desktop = {"x"};
    Temp("a.txt", "A");
    Temp("b.dat", "B");
    Temp("c.txt", "C");
    Temp("empty.txt", "");
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(dest_ + "\\a.txt"), "A");
    EXPECT_EQ(ReadFile(dest_ + "\\Data\\b.dat"), "B");
    ASSERT_TRUE(Exists(dest_ + "\\empty.txt"));
    EXPECT_EQ(ReadFile(dest_ + "\\empty.txt"), "");
    // Moved out of the temporary directory; a file of no row stays there.
    EXPECT_FALSE(Exists(temp_ + "\\a.txt"));
    EXPECT_FALSE(Exists(temp_ + "\\b.dat"));
    EXPECT_FALSE(Exists(temp_ + "\\empty.txt"));
    EXPECT_TRUE(Exists(temp_ + "\\c.txt"));
    EXPECT_EQ(view_.max, 7);
    EXPECT_EQ(view_.position, 3);
    // Names that are no single file of the directory are neither installed
    // nor recorded.
    EXPECT_EQ(Script(), Opening() + dest_ + "\\a.txt=\r\n" + dest_ + "\\empty.txt=\r\n" + dest_ +
                            "\\Data\\b.dat=\r\n" + "[Directories]\r\n" + Dir() + "\\Apps=\r\n" +
                            dest_ + "=\r\n" + dest_ + "\\Data=\r\n" + InstallerStates() + dest_ +
                            "\\a.txt=new\r\n" + dest_ + "\\empty.txt=new\r\n" + dest_ +
                            "\\Data\\b.dat=new\r\n");
    EXPECT_EQ(view_.sources.front(), "Preparing Directory Structure");
    EXPECT_EQ(view_.sources.back(), "Creating Uninstall Information");
}

TEST_F(InstallEngineTest, OverwriteQuestionYesReplacesNoKeepsAndBothAreRecorded) {
    Config().Files = {"keep.txt~<INSTALLDIR>~X", "take.txt~<INSTALLDIR>~X",
                      "plain.txt~<INSTALLDIR>~", "new.txt~<INSTALLDIR>~X"};
    for (const char* name : {"keep.txt", "take.txt", "plain.txt", "new.txt"}) {
        Temp(name, "new");
    }
    for (const char* name : {"keep.txt", "take.txt", "plain.txt"}) {
        WriteFile(dest_ + "\\" + name, "old");
    }
    ui_.User().Answer(DialogButton::No);
    ui_.User().Answer(DialogButton::Yes);
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ui_.Messages().Texts(),
              (std::vector<std::string>{"File Already Exists (keep.txt). Overwrite?",
                                        "File Already Exists (take.txt). Overwrite?"}));
    EXPECT_EQ(ReadFile(dest_ + "\\keep.txt"), "old");
    EXPECT_TRUE(Exists(temp_ + "\\keep.txt"));
    EXPECT_EQ(ReadFile(dest_ + "\\take.txt"), "new");
    EXPECT_EQ(ReadFile(dest_ + "\\plain.txt"), "new");
    EXPECT_EQ(ReadFile(dest_ + "\\new.txt"), "new");
    EXPECT_NE(Script().find(dest_ + "\\keep.txt=\r\n" + dest_ + "\\take.txt=\r\n"),
              std::string::npos);
    // What was there before: kept at No, saved before it was replaced.
    EXPECT_NE(Script().find(dest_ + "\\keep.txt=kept\r\n" + dest_ + "\\take.txt=" + dest_ +
                            "\\Setup\\Saved\\1\\take.txt\r\n" + dest_ + "\\plain.txt=" + dest_ +
                            "\\Setup\\Saved\\2\\plain.txt\r\n"),
              std::string::npos)
        << Script();
    EXPECT_EQ(ReadFile(dest_ + "\\Setup\\Saved\\1\\take.txt"), "old");
}

TEST_F(InstallEngineTest, AFileNamedTwiceLandsInBothAndItsTemporaryCopySurvives) {
    Config().Files = {"a.dll~<INSTALLDIR>~", "a.dll~<SUB1><INSTALLDIR>~", "data.dll~<INSTALLDIR>~"};
    Temp("a.dll", "A");
    Temp("data.dll", "D");
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(dest_ + "\\a.dll"), "A");
    EXPECT_EQ(ReadFile(dest_ + "\\Data\\a.dll"), "A");
    EXPECT_EQ(ReadFile(dest_ + "\\data.dll"), "D");
    EXPECT_TRUE(Exists(temp_ + "\\a.dll"));
    EXPECT_FALSE(Exists(temp_ + "\\data.dll"));
}

TEST_F(InstallEngineTest, AFileOfOneLineIsMovedInPlaceLeavingWhatACopyLeaves) {
    Config().Files = {"plain.txt~<INSTALLDIR>~", "odd.txt~<INSTALLDIR>~"};
    // Expanded with the archive's date and bits: read-only and hidden.
    constexpr std::uint32_t kArchiveDate = 0x20A46000;  // 1996-05-04 12:00
    for (const char* name : {"plain.txt", "odd.txt"}) {
        auto out = Files().Create(temp_ + "\\" + name);
        out->WriteExactly("P", 1);
        ASSERT_TRUE(out->SetDosDateTime(kArchiveDate));
    }
    ASSERT_TRUE(
        Files().SetAttributes(temp_ + "\\odd.txt", platform::faReadOnly | platform::faHidden));
    // A file it replaces is saved first and lends its system bit.
    WriteFile(dest_ + "\\plain.txt", "old");
    ASSERT_TRUE(Files().SetAttributes(dest_ + "\\plain.txt", platform::faSysFile));
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(dest_ + "\\plain.txt"), "P");
    EXPECT_EQ(ReadFile(dest_ + "\\Setup\\Saved\\1\\plain.txt"), "old");
    EXPECT_FALSE(Exists(temp_ + "\\plain.txt"));
    EXPECT_FALSE(Exists(temp_ + "\\odd.txt"));
    // Moved, not written again: the date is the archive's.
    EXPECT_EQ(Files().GetDosDateTime(dest_ + "\\plain.txt"), kArchiveDate);
    EXPECT_EQ(Files().GetAttributes(dest_ + "\\plain.txt"),
              platform::faSysFile | platform::faArchive);
    EXPECT_EQ(Files().GetAttributes(dest_ + "\\odd.txt"), platform::faArchive);
}

TEST_F(InstallEngineTest, WorkStationInstallTakesOnlyTheWorkStationList) {
    Config().Files = {"full.exe~<INSTALLDIR>~"};
    Config().WorkStation = {"net.exe~<INSTALLDIR>"};
    Temp("full.exe", "F");
    Temp("net.exe", "N");
    workStation_ = true;
    ASSERT_EQ(Install(), "");
    EXPECT_FALSE(Exists(dest_ + "\\full.exe"));
    EXPECT_EQ(ReadFile(dest_ + "\\net.exe"), "N");
    EXPECT_EQ(view_.max, 2);
}

TEST_F(InstallEngineTest, ASecondInstallationStartsItsListsAfresh) {
    Config().Files = {"one.txt~<INSTALLDIR>~"};
    Temp("one.txt", "1");
    ASSERT_EQ(Install("Tool 1.0"), "");
    ResetRun();
    Config().Directories = {"<INSTALLDIR>~"};
    Config().Files = {"two.txt~<INSTALLDIR>~"};
    Temp("two.txt", "2");
    ASSERT_EQ(Install("Tool 1.0"), "");
    // The lists start afresh; what the first run found or made stays known.
    EXPECT_EQ(Script(), "[Program]\r\nTitle=Tool 1.0\r\n[Directories]\r\n" + Dir() + "\\Apps=\r\n" +
                            dest_ + "=\r\n" + dest_ + "\\Data=\r\n" + InstallerStates() + dest_ +
                            "\\one.txt=new\r\n" + dest_ + "\\two.txt=new\r\n" +
                            Opening("Tool 2.0").substr(Opening("Tool 2.0").find("[UNINS]")) +
                            dest_ + "\\two.txt=\r\n");
}

// Version 1.1 installed over 1.0 (another title) takes the product over:
// one entry in Windows' list, and the uninstall still removes what 1.0
// installed and 1.1 did not. An entry of the old name whose uninstaller is
// in another folder is another product's.
TEST_F(InstallEngineTest, AnInstallOverAnotherTitleTakesTheProductOver) {
    auto& registry = machine_->RegistryKeys();
    const auto root = platform::RootKey::LocalMachine;
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~", "old.txt~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    Temp("old.txt", "1");
    ASSERT_EQ(Install("Tool 1.0"), "");
    ResetRun();
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~", "new.txt~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    Temp("new.txt", "2");
    ASSERT_EQ(Install("Tool 1.1"), "");
    EXPECT_FALSE(registry.KeyExists(root, install::UninstallKey("Tool 1.0")));
    EXPECT_TRUE(registry.KeyExists(root, install::UninstallKey("Tool 1.1")));
    const std::string script = Script();
    EXPECT_NE(script.find("Title=Tool 1.1\r\n"), std::string::npos);
    EXPECT_NE(script.find(dest_ + "\\old.txt=\r\n"), std::string::npos) << script;
    EXPECT_NE(script.find(dest_ + "\\new.txt=\r\n"), std::string::npos) << script;

    ASSERT_TRUE(registry.SetStringValue(root, install::UninstallKey("Tool 1.1"), "UninstallString",
                                        "\"D:\\Elsewhere\\uninstaller.exe\" \"Tool 1.1\""));
    ResetRun();
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    ASSERT_EQ(Install("Tool 1.2"), "");
    EXPECT_TRUE(registry.KeyExists(root, install::UninstallKey("Tool 1.1")));
    EXPECT_TRUE(registry.KeyExists(root, install::UninstallKey("Tool 1.2")));
    EXPECT_NE(Script().find(dest_ + "\\old.txt=\r\n"), std::string::npos);
}

TEST_F(InstallEngineTest, RegistersTheUninstallerWhenItWasInstalled) {
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    ASSERT_EQ(Install(), "");
    auto& registry = machine_->RegistryKeys();
    const std::string key = "Software\\Microsoft\\Windows\\currentversion\\uninstall\\Tool 1.0";
    EXPECT_EQ(registry.ReadStringValue(platform::RootKey::LocalMachine, key, "DisplayName"),
              "Tool 1.0");
    EXPECT_EQ(registry.ReadStringValue(platform::RootKey::LocalMachine, key, "UninstallString"),
              "\"" + dest_ + "\\uninstaller.exe\" \"Tool 1.0\"");
}

// Windows' list of programs shows the publisher, version, icon and size;
// administrators remove quietly. Numbers are DWORDs, as the list reads them.
TEST_F(InstallEngineTest, TheUninstallEntryIsComplete) {
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~", "big.dat~<SUB1><INSTALLDIR>~"};
    Config().Desktop = {"Tool~<INSTALLDIR>tool.exe~X~X~<SUB1>tool.ico~Tool",
                        "Other~<INSTALLDIR>o.exe~X~X~<INSTALLDIR>o.ico~Tool"};
    Config().Publisher = "Zephyrin Works";
    Config().Version = "1.0.2";
    Temp("uninstaller.exe", "U");
    Temp("big.dat", std::string(3000, 'b'));
    ASSERT_EQ(Install(), "");
    auto& registry = machine_->RegistryKeys();
    const auto root = platform::RootKey::LocalMachine;
    const std::string key = install::UninstallKey("Tool 1.0");
    const std::string program = "\"" + dest_ + "\\uninstaller.exe\" \"Tool 1.0\"";
    EXPECT_EQ(registry.ReadStringValue(root, key, "UninstallString"), program);
    EXPECT_EQ(registry.ReadStringValue(root, key, "QuietUninstallString"),
              program + " /VERYSILENT");
    EXPECT_EQ(registry.ReadStringValue(root, key, "Publisher"), "Zephyrin Works");
    EXPECT_EQ(registry.ReadStringValue(root, key, "DisplayVersion"), "1.0.2");
    // The first entry's icon, in the directory of its program.
    EXPECT_EQ(registry.ReadStringValue(root, key, "DisplayIcon"), dest_ + "\\tool.ico");
    EXPECT_EQ(registry.ReadStringValue(root, key, "InstallLocation"), dest_);
    // 3000 + 1 + the installer's own 2 + 14 bytes: 3017 bytes, 3 KiB.
    EXPECT_EQ(registry.ReadDwordValue(root, key, "EstimatedSize"), 3u);
    EXPECT_EQ(registry.ReadDwordValue(root, key, "NoModify"), 1u);
    EXPECT_EQ(registry.ReadDwordValue(root, key, "NoRepair"), 1u);

    // A product ID names the key and stays in the script for the
    // uninstaller; without publisher and version those values are not
    // written, and without a Desktop icon the uninstaller is the icon.
    ResetRun();
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~"};
    Config().ProductId = "ZephyrinTool";
    Temp("uninstaller.exe", "U");
    ASSERT_EQ(Install("Tool 1.1"), "");
    const std::string byId = install::UninstallKey("ZephyrinTool");
    EXPECT_EQ(registry.ReadStringValue(root, byId, "DisplayName"), "Tool 1.1");
    EXPECT_EQ(registry.ReadStringValue(root, byId, "DisplayIcon"), dest_ + "\\uninstaller.exe");
    EXPECT_FALSE(registry.ReadStringValue(root, byId, "Publisher").has_value());
    EXPECT_FALSE(registry.ReadStringValue(root, byId, "DisplayVersion").has_value());
    EXPECT_EQ(registry.ReadDwordValue(root, byId, "EstimatedSize"), 1u);
    EXPECT_NE(Script().find("Title=Tool 1.1\r\nProduct ID=ZephyrinTool\r\n"), std::string::npos)
        << Script();
}

TEST_F(InstallEngineTest, NoUninstallerNoRegistration) {
    ASSERT_EQ(Install("Tool No Uninstaller"), "");
    EXPECT_FALSE(machine_->RegistryKeys().ReadStringValue(
        platform::RootKey::LocalMachine, install::UninstallKey("Tool No Uninstaller"),
        "DisplayName"));
    EXPECT_EQ(Script().rfind(Opening("Tool No Uninstaller"), 0), 0u);
}

// An empty title would put the values on the list's own key.
TEST_F(InstallEngineTest, AnEmptyTitleRegistersNothing) {
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    ASSERT_EQ(Install(""), "");
    EXPECT_FALSE(machine_->RegistryKeys().ReadStringValue(
        platform::RootKey::LocalMachine, install::UninstallKey(""), "UninstallString"));
    EXPECT_EQ(ReadFile(dest_ + "\\uninstaller.exe"), "U");
}

TEST_F(InstallEngineTest, ARefusedRegistrationStopsBeforeTheLaunch) {
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~"};
    Config().Launch = "<INSTALLDIR>setup.exe";
    Temp("uninstaller.exe", "U");
    engineMachine_->refuseRegistry = true;
    EXPECT_EQ(Install(), "Failed to set data for 'DisplayName'");
    EXPECT_TRUE(engineMachine_->launches.empty());
    EXPECT_NE(Script().find(dest_ + "\\uninstaller.exe=\r\n"), std::string::npos);
}

TEST_F(InstallEngineTest, AFailurePartWayRegistersWhatWasDoneBeforeItIsReported) {
    Config().Files = {"uninstaller.exe~<INSTALLDIR>~", "a.txt~<INSTALLDIR>~"};
    Temp("uninstaller.exe", "U");
    Temp("a.txt", "A");
    const std::string ini = Dir() + "\\locked.ini";
    WriteFile(ini, "[s]\r\nk=1\r\n");
    ASSERT_TRUE(Files().SetAttributes(ini, platform::faReadOnly));
    Config().IniSetup = {ini + "~s~k~2"};
    Config().Launch = "<INSTALLDIR>setup.exe";
    EXPECT_EQ(Install(), "Unable to write to " + ini);
    EXPECT_EQ(
        machine_->RegistryKeys().ReadStringValue(
            platform::RootKey::LocalMachine, install::UninstallKey("Tool 1.0"), "UninstallString"),
        "\"" + dest_ + "\\uninstaller.exe\" \"Tool 1.0\"");
    EXPECT_NE(Script().find(dest_ + "\\a.txt=new\r\n"), std::string::npos) << Script();
    EXPECT_TRUE(engineMachine_->launches.empty());
    Files().SetAttributes(ini, 0);
}

TEST_F(InstallEngineTest, AMissingInstallerFileStopsAfterTheDirectoriesAreRecorded) {
    Files().RemoveFile(temp_ + "\\install.cfg");
    Config().Files = {"a.txt~<INSTALLDIR>~"};
    Temp("a.txt", "A");
    EXPECT_EQ(Install(), "Cannot open file " + temp_ + "\\install.cfg");
    EXPECT_FALSE(Exists(dest_ + "\\a.txt"));
    // The installer's own file copied before the failure is noted; the
    // other one is not.
    EXPECT_EQ(Script(), Opening() + "[Directories]\r\n" + Dir() + "\\Apps=\r\n" + dest_ + "=\r\n" +
                            dest_ + "\\Data=\r\n[File States]\r\n" + dest_ +
                            "\\install.exe=new\r\n");
}

TEST_F(InstallEngineTest, AnUnwritableScriptStopsBeforeAnyFileIsCopied) {
    WriteFile(dest_ + "\\uninstall.cfg", "[Program]\r\nTitle=old\r\n");
    ASSERT_TRUE(Files().SetAttributes(dest_ + "\\uninstall.cfg", platform::faReadOnly));
    Config().Files = {"a.txt~<INSTALLDIR>~"};
    Temp("a.txt", "A");
    EXPECT_EQ(Install(), "Unable to write to " + dest_ + "\\uninstall.cfg");
    EXPECT_FALSE(Exists(dest_ + "\\install.exe"));
    EXPECT_FALSE(Exists(dest_ + "\\a.txt"));
    Files().SetAttributes(dest_ + "\\uninstall.cfg", 0);
}

TEST_F(InstallEngineTest, AScriptWithoutInstallDirOrARootDestinationIsRefusedUntouched) {
    Config().Directories = {"<SUB1>~Data"};
    EXPECT_NE(Install().find("no <INSTALLDIR> entry"), std::string::npos);
    EXPECT_FALSE(Files().DirectoryExists(Dir() + "\\Apps"));

    ResetRun();
    const std::vector<std::string> roots = {"C:\\", Dir() + "\\..\\..\\..\\..\\..\\..", ""};
    for (const std::string& root : roots) {
        dest_ = root;
        EXPECT_NE(Install().find("choose a directory of its own"), std::string::npos) << root;
    }
    dest_ = setup::WindowsDirectory(machine_->SystemDirs());
    EXPECT_NE(Install().find("choose a directory of its own"), std::string::npos);
    EXPECT_FALSE(Exists(dest_ + "\\install.exe"));
}

// The Windows directory, anything in it, the shell's own folders and names
// no folder can have are refused in every spelling a path can take; a
// prefixed spelling of a folder of its own is installed into under its
// plain name.
TEST_F(InstallEngineTest, SystemPlacesAreRefusedInEverySpelling) {
    const std::string windows = setup::WindowsDirectory(machine_->SystemDirs());
    const std::string programFiles = setup::ProgramFilesDirectory(machine_->SystemDirs());
    const std::string desktop =
        machine_->SystemDirs().ShellFolderPath(platform::ShellFolder::kDesktop);
    std::vector<std::string> refused = {windows + "\\SYSTEM",
                                        windows + "\\system\\drivers",
                                        "\\\\?\\" + windows,
                                        "\\\\.\\" + windows + "\\SYSTEM32\\..",
                                        base::AsciiLower(windows) + "/Temp/",
                                        windows + "\\Temp\\..\\Fonts\\. ",
                                        programFiles,
                                        programFiles + "\\.\\",
                                        desktop};
    const std::string shortProgramFiles = machine_->SystemDirs().ShortPathName(programFiles);
    if (!shortProgramFiles.empty()) refused.push_back(shortProgramFiles);
    // Names no folder can have: a stream of the Windows directory, a device.
    refused.insert(refused.end(),
                   {windows + "::$INDEX_ALLOCATION", Dir() + "\\NUL\\Tool", Dir() + "\\Tool<1>"});
    for (const std::string& destination : refused) {
        dest_ = destination;
        EXPECT_NE(Install().find("choose a directory of its own"), std::string::npos)
            << destination;
    }
    EXPECT_FALSE(Exists(windows + "\\install.exe"));
    EXPECT_FALSE(Exists(windows + "\\SYSTEM\\install.exe"));

    const std::string own = Dir() + "\\Apps\\Tool";
    dest_ = "\\\\?\\" + own;
    ASSERT_EQ(Install(), "");
    EXPECT_TRUE(Exists(own + "\\install.exe"));
    dest_ = own;
    EXPECT_EQ(Script(), Opening() + "[Directories]\r\n" + Dir() + "\\Apps=\r\n" + own + "=\r\n" +
                            own + "\\Data=\r\n" + InstallerStates());
}

TEST_F(InstallEngineTest, LaunchesTheChosenProgramOrAnySetupProgram) {
    Config().Launch = "<SUB1><INSTALLDIR>run.exe";
    launchChosen_ = true;
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(engineMachine_->launches,
              (std::vector<std::string>{"run.exe||" + dest_ + "\\Data\\|5"}));

    for (const char* launch : {"<INSTALLDIR>tool.exe", "", "<NOWHERE>setup.exe"}) {
        ResetRun();
        Config().Launch = launch;
        launchChosen_ = false;
        engineMachine_->launches.clear();
        ASSERT_EQ(Install(), "");
        EXPECT_TRUE(engineMachine_->launches.empty()) << launch;
    }
    ResetRun();
    Config().Launch = "<INSTALLDIR>Install.EXE";
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(engineMachine_->launches,
              (std::vector<std::string>{"Install.EXE||" + dest_ + "\\|5"}));
}

using InstallClickTest = WizardTest;

TEST_F(InstallClickTest, AStoppingFailureIsShownAndTheRunEndsCancelled) {
    WriteScript("Header=Tool 3\r\nShow Re-Boot=1\r\n");
    Run([&](TKAV& kav) {
        NextUntil(kav, kReadyPage);
        Files().RemoveFile(Temp() + "\\install.exe");
        kav.install.Click();
        EXPECT_FALSE(kav.Panel1.Visible());
        EXPECT_EQ(kav.Height(), 120);
        EXPECT_EQ(kav.Placement().top, main_->Height() - 150);
    });
    EXPECT_TRUE(run_.cancelled);
    EXPECT_TRUE(machine_->restart.calls.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Cannot open file " + Temp() + "\\install.exe",
                                                    "Your installation was canceled!"}));
    const std::string script = ReadFile("C:\\WizardTest\\uninstall.cfg");
    EXPECT_NE(script.find("Title=Tool 3"), std::string::npos);
    Files().RemoveFile("C:\\WizardTest\\uninstall.cfg");
    Files().RemoveEmptyDirectory("C:\\WizardTest");
}

}  // namespace
}  // namespace kav::wizard::testing
