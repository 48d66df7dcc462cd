// The install engine's registry and INI step and its
// AUTOEXEC.BAT step on the test machine: the INI files, the
// registry, AUTOEXEC.BAT and its backup, and the uninstall script.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/ascii_case.h"
#include "install/autoexec_step.h"
#include "install/install_engine.h"
#include "install/registry_ini_step.h"
#include "platform/errors.h"
#include "setup/system_paths.h"
#include "support/forwarding_file_system.h"
#include "support/refusing_registry.h"
#include "support/test_machine.h"

namespace kav::wizard::testing {
namespace {

using platform::RootKey;

class CountingView final : public install::InstallView {
public:
    void ShowSource(const std::string& text) override { sources.push_back(text); }
    void ShowDest(const std::string&) override {}
    void SetProgressMax(int) override {}
    void StepProgress() override { ++position; }
    std::vector<std::string> sources;
    int position = 0;
};

// The file system of the test machine, with a write into the file named
// `failingWrite` (once it has been created `failAfter` times) stopping half
// way, as a full disk does, and the replacement of `refusedReplace` refused.
class FaultyFiles final : public setup::testing::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    std::unique_ptr<platform::FileStream> Create(const std::string& p) override {
        if (!failingWrite.empty() && base::AsciiUpper(p) == base::AsciiUpper(failingWrite) &&
            failAfter-- == 0) {
            return std::make_unique<setup::testing::HalfWrittenStream>(real_.Create(p));
        }
        return real_.Create(p);
    }
    bool MoveOnto(const std::string& s, const std::string& t) override {
        if (!refusedReplace.empty() && base::AsciiUpper(t) == base::AsciiUpper(refusedReplace))
            return false;
        return real_.MoveOnto(s, t);
    }

    std::string failingWrite;
    int failAfter = 0;
    std::string refusedReplace;
};

// The test machine with the faulty file system, a shell that launches
// nothing and, when asked, a registry that opens keys but sets no value.
class StepMachine final : public platform::ForwardingMachine, platform::Shell {
public:
    explicit StepMachine(platform::Machine& real) : ForwardingMachine(real), files(real.Files()) {}
    platform::Registry& RegistryKeys() override {
        return refuseValues ? refusing_ : Inner().RegistryKeys();
    }
    platform::FileSystem& Files() override { return files; }
    platform::Shell& ShellOps() override { return *this; }

    int Execute(const std::string&, const std::string&, const std::string&, int) override {
        return 33;
    }
    bool CreateLink(const std::string&, const platform::ShellLink&) override { return false; }

    bool refuseValues = false;
    FaultyFiles files;

private:
    setup::testing::RefusingRegistry refusing_{true};
};

class RegistryAutoexecTest : public setup::testing::MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        stepMachine_ = std::make_unique<StepMachine>(*machine_);
        windows_ = setup::WindowsDirectory(machine_->SystemDirs());
        dest_ = Dir() + "\\Apps\\Tool";
        ResetRun();
    }
    void TearDown() override {
        for (const std::string& name : windowsIniFiles_) {
            Files().SetAttributes(windows_ + "\\" + name, 0);
            Files().RemoveFile(windows_ + "\\" + name);
        }
        MachineTest::TearDown();
    }

    void ResetRun() {
        run_.configuration = std::make_unique<setup::InstallConfiguration>();
        run_.systemDriveRoot = Dir() + "\\";
        run_.temporaryDirectory = Dir() + "\\Temp\\q";
        WriteFile(run_.temporaryDirectory + "\\install.exe", "MZ");
        WriteFile(run_.temporaryDirectory + "\\install.cfg", "[Setup - Main]");
        Config().Directories = {"<INSTALLDIR>~", "<SUB1><INSTALLDIR>~Data"};
    }
    setup::InstallConfiguration& Config() { return *run_.configuration; }

    std::string Install() {
        install::InstallEngine engine(*stepMachine_, run_, view_);
        try {
            engine.Run({dest_, false, false, "Tool 1.0"});
        } catch (const kav::Exception& error) {
            return error.what();
        }
        return "";
    }
    std::string Script() { return ReadFile(dest_ + "\\uninstall.cfg"); }
    bool Recorded(const std::string& section, const std::string& key) {
        const auto keys = machine_->Profiles().ListKeys(dest_ + "\\uninstall.cfg", section);
        for (const std::string& k : keys) {
            if (k == key) return true;
        }
        return false;
    }
    std::vector<std::string> Keys(const std::string& section) {
        return machine_->Profiles().ListKeys(dest_ + "\\uninstall.cfg", section);
    }
    std::string Ini(const std::string& file, const std::string& section, const std::string& key) {
        return machine_->Profiles().ReadString(file, section, key, "(missing)");
    }
    std::optional<std::string> Value(RootKey root, const std::string& key,
                                     const std::string& name) {
        return machine_->RegistryKeys().ReadStringValue(root, key, name);
    }
    // A file of the Windows directory that the test removes at its end.
    std::string WindowsIni(const std::string& name) {
        windowsIniFiles_.push_back(name);
        return windows_ + "\\" + name;
    }
    std::string Short(const std::string& path) {
        const std::string shortPath = machine_->SystemDirs().ShortPathName(path);
        return shortPath.empty() ? path : shortPath;
    }
    std::string Autoexec() { return Dir() + "\\autoexec.bat"; }
    std::string Backup() { return Dir() + "\\autoexec.kav"; }

    setup::RunState run_;
    std::unique_ptr<StepMachine> stepMachine_;
    CountingView view_;
    std::string windows_, dest_;
    std::vector<std::string> windowsIniFiles_;
};

// --- Registry and INI entries ---------------------------------------------

TEST(IniSetupEntryTest, TheValueKeepsItsTildesAndMissingFieldsRepeatTheLast) {
    const install::IniSetupEntry entry = install::IniSetupEntry::Parse("a.ini~Sec~Key~x~y");
    EXPECT_EQ(entry.target, "a.ini");
    EXPECT_EQ(entry.section, "Sec");
    EXPECT_EQ(entry.name, "Key");
    EXPECT_EQ(entry.value, "x~y");
    const install::IniSetupEntry shortEntry = install::IniSetupEntry::Parse("a.ini~Sec");
    EXPECT_EQ(shortEntry.name, "Sec");
    EXPECT_EQ(shortEntry.value, "Sec");
    EXPECT_TRUE(install::IniSetupEntry::Parse("C:\\x\\App.Ini.bak~s~n~v").IsIni());
    EXPECT_FALSE(install::IniSetupEntry::Parse("HKEY_LOCAL_MACHINE\\Software~s~n~v").IsIni());
}

TEST(IniSetupEntryTest, OnlyALeadingTagWithItsFirstCloseIsReplaced) {
    const install::DirectoryRow row{"<INSTALLDIR>", "C:\\Apps\\Tool"};
    std::string field = "<installdir>data";
    EXPECT_TRUE(install::ReplaceLeadingTag(field, row));
    EXPECT_EQ(field, "C:\\Apps\\Tool\\data");
    EXPECT_FALSE(install::ReplaceLeadingTag(field, row));
    field = "x<INSTALLDIR>";
    EXPECT_FALSE(install::ReplaceLeadingTag(field, row));
    field = "<SUB1><INSTALLDIR>a";  // its first ">" ends "<SUB1>"
    EXPECT_FALSE(install::ReplaceLeadingTag(field, {"<SUB1><INSTALLDIR>", "C:\\D"}));
    EXPECT_TRUE(install::ReplaceLeadingTag(field, {"<SUB1>", "C:\\S"}));
    EXPECT_EQ(field, "C:\\S\\<INSTALLDIR>a");
}

TEST(IniSetupEntryTest, SeparatorsAndRootsByTheRules) {
    struct Case {
        const char* entry;
        RootKey root;
        const char* key;
        const char* record;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\Vendor~Product\\~Dir~x", RootKey::LocalMachine,
         "\\Software\\Vendor\\Product", "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Product"},
        {"HKEY_CURRENT_USER\\Software\\Vendor~Product~Dir~x", RootKey::CurrentUser,
         "\\Software\\Vendor\\Product", "HKEY_CURRENT_USER\\Software\\Vendor\\Product"},
        {"Software\\Vendor~Product~Dir~x", RootKey::CurrentUser, "\\Software\\Vendor\\Product",
         "Software\\Vendor\\Product"},
        {"hkey_local_machine\\Software\\V\\~P~n~v", RootKey::LocalMachine, "\\Software\\V\\P",
         "hkey_local_machine\\Software\\V\\P"},
        {"HKEY_CURRENT_USER\\Software\\V~\\P~n~v", RootKey::CurrentUser, "\\Software\\V\\P",
         "HKEY_CURRENT_USER\\Software\\V\\P"},
        {"HKEY_CURRENT_USER\\Software\\V~~n~v", RootKey::CurrentUser, "\\Software\\V\\",
         "HKEY_CURRENT_USER\\Software\\V"},
        // Any other root name stands for HKEY_CURRENT_USER.
        {"HKEY_CLASSES_ROOT\\.kav~Shell~n~v", RootKey::CurrentUser, "\\.kav\\Shell",
         "HKEY_CLASSES_ROOT\\.kav\\Shell"},
    };
    for (const Case& c : cases) {
        const install::RegistryPlace place =
            install::PlaceOf(install::IniSetupEntry::Parse(c.entry));
        EXPECT_EQ(place.root, c.root) << c.entry;
        EXPECT_EQ(place.key, c.key) << c.entry;
        EXPECT_EQ(place.record, c.record) << c.entry;
    }
}

TEST_F(RegistryAutoexecTest, IniEntriesWithPlaceholdersAreWrittenAndRecorded) {
    const std::string fresh = WindowsIni("kavri_new.ini");
    const std::string old = WindowsIni("kavri_old.ini");
    WriteFile(old, "[boot]\r\nshell=Explorer.exe\r\n");
    Config().IniSetup = {"<INSTALLDIR>app.ini~Options~Path~<INSTALLDIR>data",
                         "<INSTALLDIR>more.ini~S~K~<installdir>x~y", "kavri_new.ini~boot~shell~x",
                         "kavri_old.ini~boot~shell~y"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(Ini(dest_ + "\\app.ini", "Options", "Path"), dest_ + "\\data");
    EXPECT_EQ(Ini(dest_ + "\\more.ini", "S", "K"), dest_ + "\\x~y");
    EXPECT_EQ(Ini(fresh, "boot", "shell"), "x");
    EXPECT_EQ(Ini(old, "boot", "shell"), "y");
    // The list holds the entries with their paths.
    EXPECT_EQ(Config().IniSetup[0], dest_ + "\\app.ini~Options~Path~" + dest_ + "\\data");
    EXPECT_TRUE(Recorded("UNINS", dest_ + "\\app.ini"));
    EXPECT_TRUE(Recorded("UNINS", dest_ + "\\more.ini"));
    EXPECT_TRUE(Recorded("UNINS", fresh));
    // A file that was there before is not the product's: the uninstaller
    // must not delete it.
    EXPECT_FALSE(Recorded("UNINS", old));
    EXPECT_EQ(view_.position, 4);
    EXPECT_NE(std::find(view_.sources.begin(), view_.sources.end(),
                        "Processing Registry Entries / INI Creation"),
              view_.sources.end());
}

// A short name holds "~": the entry must not be cut there.
TEST_F(RegistryAutoexecTest, AnInstallDirectoryWithATildeStaysWhole) {
    dest_ = Dir() + "\\Apps\\TOOL~1";
    Config().IniSetup = {"<INSTALLDIR>app.ini~Options~Path~<INSTALLDIR>"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(Ini(dest_ + "\\app.ini", "Options", "Path"), dest_ + "\\");
    EXPECT_TRUE(Recorded("UNINS", dest_ + "\\app.ini"));
    EXPECT_FALSE(Files().FileExists(Dir() + "\\Apps\\TOOL"));
}

TEST_F(RegistryAutoexecTest, RegistryEntriesWriteUnderTheirRootsAndRecordTheirKeys) {
    Config().IniSetup = {
        "HKEY_LOCAL_MACHINE\\Software\\KavRiVendor~Product\\~Dir~<INSTALLDIR>",
        "HKEY_CURRENT_USER\\Software\\KavRiVendor~Product~One~x",
        "Software\\KavRiVendor~Product~Two~y",
        "HKEY_CURRENT_USER\\Software\\KavRiVendor\\~Sep~N~joined",
        "HKEY_CURRENT_USER\\Software\\KavRiVendor~~~default",
        "HKEY_LOCAL_MACHINE~~Root~never",
    };
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(Value(RootKey::LocalMachine, "Software\\KavRiVendor\\Product", "Dir"), dest_ + "\\");
    EXPECT_EQ(Value(RootKey::CurrentUser, "Software\\KavRiVendor\\Product", "One"), "x");
    EXPECT_EQ(Value(RootKey::CurrentUser, "Software\\KavRiVendor\\Product", "Two"), "y");
    EXPECT_EQ(Value(RootKey::CurrentUser, "Software\\KavRiVendor\\Sep", "N"), "joined");
    EXPECT_EQ(Value(RootKey::CurrentUser, "Software\\KavRiVendor", ""), "default");
    // No stray key under the other root.
    EXPECT_FALSE(Value(RootKey::CurrentUser, "Software\\KavRiVendor\\Product", "Dir"));
    EXPECT_FALSE(Value(RootKey::LocalMachine, "", "Root"));
    // Each record names the key that holds the value, never a parent that
    // other products share, nor a root.
    EXPECT_EQ(Keys("Registry"),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\KavRiVendor\\Product",
                                        "HKEY_CURRENT_USER\\Software\\KavRiVendor\\Product",
                                        "Software\\KavRiVendor\\Product",
                                        "HKEY_CURRENT_USER\\Software\\KavRiVendor\\Sep",
                                        "HKEY_CURRENT_USER\\Software\\KavRiVendor"}));
    // Only registry entries: no INI file comes of them.
    EXPECT_EQ(Keys("UNINS"), (std::vector<std::string>{dest_ + "\\*.*", dest_ + "\\Setup\\*.*"}));
    EXPECT_EQ(view_.position, 6);
}

TEST_F(RegistryAutoexecTest, AnEmptyListShowsNothing) {
    ASSERT_EQ(Install(), "");
    for (const std::string& text : view_.sources) {
        EXPECT_NE(text, "Processing Registry Entries / INI Creation");
        EXPECT_NE(text, "Copying Old Autoexec.bat to Autoexec.kav");
    }
    EXPECT_TRUE(Keys("Registry").empty());
    EXPECT_FALSE(Files().FileExists(Autoexec()));
    EXPECT_FALSE(Files().FileExists(Backup()));
}

TEST_F(RegistryAutoexecTest, AnUnwritableIniFileStopsTheLaterSteps) {
    WriteFile(dest_ + "\\locked.ini", "[S]\r\n");
    ASSERT_TRUE(Files().SetAttributes(dest_ + "\\locked.ini", platform::faReadOnly));
    Config().IniSetup = {"<INSTALLDIR>locked.ini~S~K~v",
                         "HKEY_CURRENT_USER\\Software\\KavRiX~P~N~v"};
    Config().AutoexecBat = {"SET X=1"};
    EXPECT_EQ(Install(), "Unable to write to " + dest_ + "\\locked.ini");
    EXPECT_FALSE(Value(RootKey::CurrentUser, "Software\\KavRiX\\P", "N"));
    EXPECT_FALSE(Files().FileExists(Autoexec()));
    Files().SetAttributes(dest_ + "\\locked.ini", 0);
}

TEST_F(RegistryAutoexecTest, ARefusedRegistryValueStopsWithItsName) {
    stepMachine_->refuseValues = true;
    Config().IniSetup = {"HKEY_LOCAL_MACHINE\\Software\\KavRiY~P~Version~1"};
    EXPECT_EQ(Install(), "Failed to set data for 'Version'");
    EXPECT_TRUE(Recorded("Registry", "HKEY_LOCAL_MACHINE\\Software\\KavRiY\\P"));
}

// --- AUTOEXEC.BAT ---------------------------------------------------------

TEST(AutoexecLineTest, ConvertsCaseCopyRootAndTagsInRounds) {
    const install::DirectoryTable table = {{"<INSTALLDIR>", "C:\\Program Files\\Tool"},
                                           {"<SUB1><INSTALLDIR>", "C:\\Program Files\\Tool\\Data"}};
    const auto shortPath = [](const std::string& path) {
        return path == "C:\\Program Files\\Tool" ? std::string("C:\\PROGRA~1\\TOOL")
                                                 : std::string();
    };
    const auto convert = [&](const std::string& line) {
        return install::ConvertAutoexecLine(line, table, "C:\\", shortPath);
    };
    EXPECT_EQ(convert("path c:\\dos;<installdir>"), "PATH C:\\DOS;C:\\PROGRA~1\\TOOL");
    EXPECT_EQ(convert("copy <root>a.txt <installdir>"), "COPY/Y C:\\A.TXT C:\\PROGRA~1\\TOOL");
    EXPECT_EQ(convert("sort < a > b"), "SORT < A > B");
    EXPECT_EQ(convert("<INSTALLDIR>\\a <installdir>\\b"),
              "C:\\PROGRA~1\\TOOL\\A C:\\PROGRA~1\\TOOL\\B");
    EXPECT_EQ(convert("<root> <ROOT>"), "C:\\ C:\\");
    // No short form: the path as it is. The composite tag is taken whole,
    // though the row of its last part comes first.
    EXPECT_EQ(convert("<sub1><installdir>"), "C:\\Program Files\\Tool\\Data");
    EXPECT_EQ(convert("copyall x & copy a b"), "COPYALL X & COPY/Y A B");
    EXPECT_EQ(convert("xcopy a b"), "XCOPY/Y A B");
    EXPECT_EQ(convert("copy"), "COPY");
}

// A path that holds its own tag must not keep the rounds going.
TEST(AutoexecLineTest, APathBringingItsTagBackEnds) {
    const install::DirectoryTable table = {{"<LOOP>", "C:\\<LOOP>"}};
    const auto same = [](const std::string&) { return std::string(); };
    EXPECT_EQ(install::ConvertAutoexecLine("cd <loop>", table, "C:\\", same), "CD C:\\C:\\<LOOP>");
}

TEST_F(RegistryAutoexecTest, AppendsTheBlockAfterABackupAndRecordsIt) {
    dest_ = Dir() + "\\Program Files\\Tool";
    WriteFile(Autoexec(), "@ECHO OFF\r\nPROMPT $P$G\r\n");
    Config().AutoexecBat = {"path c:\\dos;<installdir>", "copy <root>a.txt <installdir>",
                            "sort < a > b"};
    ASSERT_EQ(Install(), "");
    const std::string installShort = Short(dest_);
    if (Simulated()) {
        EXPECT_NE(installShort, dest_);
    }
    EXPECT_EQ(ReadFile(Backup()), "@ECHO OFF\r\nPROMPT $P$G\r\n");
    EXPECT_EQ(ReadFile(Autoexec()),
              "@ECHO OFF\r\nPROMPT $P$G\r\n" + std::string(install::kAutoexecStart) +
                  "\r\nPATH C:\\DOS;" + installShort + "\r\nCOPY/Y " + Dir() + "\\A.TXT " +
                  installShort + "\r\nSORT < A > B\r\n" + install::kAutoexecEnd + "\r\n");
    EXPECT_EQ(Keys("AUTOEXEC.BAT"), (std::vector<std::string>{Autoexec()}));
    const auto at = [&](const char* text) {
        return std::find(view_.sources.begin(), view_.sources.end(), text) - view_.sources.begin();
    };
    EXPECT_LT(at("Copying Old Autoexec.bat to Autoexec.kav"), at("Updating Autoexec.bat file"));
    EXPECT_LT(at("Updating Autoexec.bat file"), at("Creating Uninstall Information"));
    EXPECT_FALSE(Files().FileExists(Dir() + "\\autoexec.k$$"));
}

TEST_F(RegistryAutoexecTest, InstallingTwiceLeavesTwoBlocksAndTheFirstInTheBackup) {
    WriteFile(Autoexec(), "REM mine\n");  // line ends of its own
    Config().AutoexecBat = {"set kav=1"};
    ASSERT_EQ(Install(), "");
    // The backup is the file byte for byte.
    EXPECT_EQ(ReadFile(Backup()), "REM mine\n");
    const std::string once = "REM mine\r\n" + std::string(install::kAutoexecStart) +
                             "\r\nSET KAV=1\r\n" + install::kAutoexecEnd + "\r\n";
    EXPECT_EQ(ReadFile(Autoexec()), once);
    ResetRun();
    Config().AutoexecBat = {"set kav=1"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(Backup()), once);
    EXPECT_EQ(ReadFile(Autoexec()), once + install::kAutoexecStart + "\r\nSET KAV=1\r\n" +
                                        install::kAutoexecEnd + "\r\n");
}

TEST_F(RegistryAutoexecTest, AnEmptyOrMissingFileGetsJustTheBlock) {
    const std::string block =
        std::string(install::kAutoexecStart) + "\r\nSET KAV=1\r\n" + install::kAutoexecEnd + "\r\n";
    WriteFile(Autoexec(), "");
    Config().AutoexecBat = {"set kav=1"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(Autoexec()), block);
    EXPECT_EQ(ReadFile(Backup()), "");

    // Missing: created, with an empty backup in place of a stale one.
    ASSERT_TRUE(Files().RemoveFile(Autoexec()));
    WriteFile(Backup(), "stale");
    ResetRun();
    Config().AutoexecBat = {"set kav=1"};
    ASSERT_EQ(Install(), "");
    EXPECT_EQ(ReadFile(Autoexec()), block);
    EXPECT_EQ(ReadFile(Backup()), "");
}

TEST_F(RegistryAutoexecTest, AFailedRewriteLeavesTheOldFileWhole) {
    const std::string old = "@ECHO OFF\r\n" + std::string(3000, 'x') + "\r\n";
    WriteFile(Autoexec(), old);
    Config().AutoexecBat = {"set kav=1"};
    // The scratch file's second creation is the new AUTOEXEC.BAT.
    stepMachine_->files.failingWrite = Dir() + "\\autoexec.k$$";
    stepMachine_->files.failAfter = 1;
    EXPECT_EQ(Install(), "Cannot create file " + Autoexec());
    EXPECT_EQ(ReadFile(Autoexec()), old);
    EXPECT_EQ(ReadFile(Backup()), old);
    EXPECT_FALSE(Files().FileExists(Dir() + "\\autoexec.k$$"));

    // The replacement itself refused: the same.
    ResetRun();
    Config().AutoexecBat = {"set kav=1"};
    stepMachine_->files.failingWrite.clear();
    stepMachine_->files.refusedReplace = Autoexec();
    EXPECT_EQ(Install(), "Cannot create file " + Autoexec());
    EXPECT_EQ(ReadFile(Autoexec()), old);
    EXPECT_FALSE(Files().FileExists(Dir() + "\\autoexec.k$$"));
}

TEST_F(RegistryAutoexecTest, AFailedBackupLeavesTheFileUntouched) {
    WriteFile(Autoexec(), "REM old\r\n");
    WriteFile(Backup(), "REM older\r\n");
    Config().AutoexecBat = {"set kav=1"};
    stepMachine_->files.failingWrite = Dir() + "\\autoexec.k$$";
    EXPECT_EQ(Install(), "Cannot create file " + Backup());
    EXPECT_EQ(ReadFile(Autoexec()), "REM old\r\n");
    EXPECT_EQ(ReadFile(Backup()), "REM older\r\n");
    EXPECT_TRUE(Keys("AUTOEXEC.BAT").empty());
}

TEST_F(RegistryAutoexecTest, AnUnreadableFileStopsBeforeTheBackup) {
    WriteFile(Autoexec(), "REM old\r\n");
    auto holder = Files().Create(Autoexec());  // open for writing, unshared
    Config().AutoexecBat = {"set kav=1"};
    EXPECT_EQ(Install(), "Cannot open file " + Autoexec());
    EXPECT_FALSE(Files().FileExists(Backup()));
}

}  // namespace
}  // namespace kav::wizard::testing
