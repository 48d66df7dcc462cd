// kavsetup installs the demo set on a simulated machine that looks like a
// used one, then plays its uninstaller: after the restart the uninstaller
// asks for, the machine is as it was, but for the empty vendor key that
// the uninstaller leaves because such keys are shared.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/sim/journal.h"
#include "platform/sim/sim_machine.h"
#include "setup/file_operations.h"
#include "widgets/headless/headless_backend.h"

namespace {

namespace fs = std::filesystem;

std::string ReadHost(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DemoUninstall : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path build = std::getenv("KAV_BUILD_DIR");
        kavsetup_ = build / "src/app/kavsetup/kavsetup";
        kavpack_ = build / "src/app/kavpack/kavpack";
        work_ = fs::temp_directory_path() /
                ("uninstall_demo_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work_);
        fs::create_directories(work_);
        PackDemo();
        SeedMachine();
    }
    void TearDown() override { fs::remove_all(work_); }

    // The demo's sources with an uninstaller of their own and its Files
    // line, packed into one set.
    void PackDemo() {
        const fs::path demo =
            fs::path(std::getenv("KAV_TEST_DATA")) / ".." / ".." / "samples" / "demo";
        fs::copy(demo, work_ / "src", fs::copy_options::recursive);
        std::ofstream(work_ / "src" / "uninstaller.exe") << "MZ uninstaller";
        std::ofstream(work_ / "install.exe") << "MZ";
        std::string script = ReadHost(work_ / "src" / "install.cfg");
        // A value of its own in a shared INI file and in a shared key.
        const std::size_t autoexec = script.find("[AUTOEXEC.BAT]");
        ASSERT_NE(autoexec, std::string::npos);
        script.insert(autoexec,
                      "Ini8=win.ini~windows~load~<INSTALLDIR>zdemo.exe\r\n"
                      "Ini9=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion~"
                      "Run~ZDemo~<INSTALLDIR>zdemo.exe\r\n\r\n");
        std::ofstream(work_ / "src" / "install.cfg", std::ios::binary) << script;
        if (script.find("uninstaller.exe") == std::string::npos) {
            const std::size_t files = script.find("[Files]");
            ASSERT_NE(files, std::string::npos);
            script.insert(script.find('\n', files) + 1, "FileU=uninstaller.exe~<INSTALLDIR>\r\n");
            std::ofstream(work_ / "src" / "install.cfg", std::ios::binary) << script;
        }
        ASSERT_EQ(Shell("'" + kavpack_.string() + "' build '" + (work_ / "src").string() + "' '" +
                        (work_ / "set").string() + "' --installer '" +
                        (work_ / "install.exe").string() + "' >/dev/null 2>&1"),
                  0);
    }

    // What a used Windows machine holds before the install: the shell
    // folders, the list of installed programs, an AUTOEXEC.BAT, WIN.INI,
    // another program's Run value, and a file of the product's name already
    // in its install directory.
    void SeedMachine() {
        kav::widgets::headless::HeadlessBackend ui;
        kav::platform::sim::SimMachine machine(Root(), ui);
        auto& files = machine.Files();
        // The shell's folders exist on every Windows before any install.
        using kav::platform::ShellFolder;
        for (const ShellFolder folder :
             {ShellFolder::kCommonDesktop, ShellFolder::kCommonStartMenu,
              ShellFolder::kCommonPrograms, ShellFolder::kDesktop, ShellFolder::kStartMenu,
              ShellFolder::kPrograms, ShellFolder::kAppData, ShellFolder::kProgramFiles}) {
            kav::setup::ForceDirectories(files, machine.SystemDirs().ShellFolderPath(folder));
        }
        files.MakeDirectory("C:\\Program Files\\Zephyrin Demo");
        const auto write = [&](const std::string& path, const std::string& text) {
            files.Create(path)->WriteExactly(text.data(), text.size());
        };
        write("C:\\autoexec.bat", "@ECHO OFF\r\nPATH C:\\DOS\r\n");
        write("C:\\WINDOWS\\win.ini", "[windows]\r\nload=\r\nrun=\r\n");
        write("C:\\Program Files\\Zephyrin Demo\\readme.txt", "an older read-me");
        machine.RegistryKeys().CreateKey(kav::platform::RootKey::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
        machine.RegistryKeys().SetStringValue(kav::platform::RootKey::LocalMachine,
                                              "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                              "Other", "other.exe");
    }

    std::string Root() const { return (work_ / "root").string(); }

    int Shell(const std::string& command) {
        output_.clear();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return -1;
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output_ += buffer.data();
        return pclose(pipe);
    }
    int Kavsetup(const std::string& args) {
        return Shell("cd '" + (work_ / "set").string() + "' && '" + kavsetup_.string() +
                     "' --root '" + Root() + "' " + args + " </dev/null 2>&1");
    }

    // Every file of drive C: with its bytes, every folder, and the registry.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> state;
        for (const auto& entry : fs::recursive_directory_iterator(work_ / "root" / "drive_c")) {
            const std::string name = fs::relative(entry.path(), work_ / "root").string();
            state[name] = entry.is_directory() ? "<dir>" : ReadHost(entry.path());
        }
        state["registry"] = ReadHost(work_ / "root" / "registry.reg");
        return state;
    }

    // Windows at its next start: what was scheduled goes.
    void Restart() {
        kav::widgets::headless::HeadlessBackend ui;
        kav::platform::sim::SimMachine machine(Root(), ui);
        for (const auto& event : kav::platform::sim::ReadJournal(Root())) {
            if (event.size() < 2 || event[0] != "RemoveAtRestart") continue;
            if (!machine.Files().RemoveFile(event[1])) {
                machine.Files().RemoveEmptyDirectory(event[1]);
            }
        }
    }

    void ExpectAsBefore(const std::map<std::string, std::string>& before) {
        // Nothing is left over, not even the vendor's empty key.
        auto after = Snapshot();
        for (const auto& [name, content] : before) {
            EXPECT_EQ(after.count(name) ? after[name] : "<missing>", content) << name;
        }
        for (const auto& [name, content] : after) EXPECT_TRUE(before.count(name)) << name;
    }

    // The installed product's uninstall script, as the host holds it.
    fs::path ScriptFile() const {
        return work_ / "root" / "drive_c" / "Program Files" / "Zephyrin Demo" / "uninstall.cfg";
    }
    // Puts `lines` at the start of the script's section `section`.
    void AddToScript(const std::string& section, const std::string& lines) {
        std::string script = ReadHost(ScriptFile());
        const std::size_t at = script.find("[" + section + "]");
        ASSERT_NE(at, std::string::npos) << section;
        script.insert(script.find('\n', at) + 1, lines);
        std::ofstream(ScriptFile(), std::ios::binary) << script;
    }
    // A host path as the simulated machine sees it, on drive Z:.
    static std::string OnZ(const fs::path& host) {
        std::string windows = "Z:";
        for (char c : fs::absolute(host).lexically_normal().string())
            windows += c == '/' ? '\\' : c;
        return windows;
    }

    fs::path work_, kavsetup_, kavpack_;
    std::string output_;
};

TEST_F(DemoUninstall, TheMachineIsAsBeforeAfterOneOrTwoInstalls) {
    const auto before = Snapshot();
    for (int installs = 1; installs <= 2; ++installs) {
        for (int i = 0; i < installs; ++i) ASSERT_EQ(Kavsetup(""), 0) << output_;
        auto installed = Snapshot();
        ASSERT_NE(installed, before);
        EXPECT_NE(installed["drive_c/WINDOWS/win.ini"].find(
                      "load=C:\\Program Files\\Zephyrin Demo\\zdemo.exe"),
                  std::string::npos);
        EXPECT_NE(installed["registry"].find("\"ZDemo\"="), std::string::npos);
        // The running uninstaller's own file waits for the restart: status 5.
        ASSERT_EQ(WEXITSTATUS(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'")), 5) << output_;
        EXPECT_NE(output_.find("put back: C:\\Program Files\\Zephyrin Demo\\readme.txt"),
                  std::string::npos)
            << output_;
        EXPECT_NE(output_.find("put back: C:\\autoexec.bat"), std::string::npos) << output_;
        EXPECT_NE(output_.find("put back: win.ini [windows] load"), std::string::npos) << output_;
        EXPECT_NE(output_.find("removed when Windows restarts: C:\\Program Files\\Zephyrin "
                               "Demo\\uninstaller.exe"),
                  std::string::npos)
            << output_;
        // The vendor's key, made by the install, goes once the product's
        // keys below it are gone.
        EXPECT_NE(output_.find("removed: HKEY_LOCAL_MACHINE\\Software\\Zephyrin\n"),
                  std::string::npos)
            << output_;
        Restart();
        fs::remove(work_ / "root" / "journal.txt");
        ExpectAsBefore(before);
        // The next round starts from the machine as it was.
        fs::remove_all(work_ / "root");
        SeedMachine();
    }
    EXPECT_NE(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'"), 0);
    EXPECT_NE(output_.find("is not registered for uninstalling"), std::string::npos) << output_;
}

// An empty title (an unset variable) or a set named beside the title is a
// bad command line; neither installs the set instead.
TEST_F(DemoUninstall, AnEmptyTitleOrAnExtraArgumentIsABadCommandLine) {
    const auto before = Snapshot();
    for (const char* args : {"--uninstall ''", "--uninstall 'Zephyrin Demo Tool 1.0' .",
                             ". --uninstall 'Zephyrin Demo Tool 1.0'"}) {
        const int status = Kavsetup(args);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args << "\n" << output_;
        EXPECT_EQ(Snapshot(), before) << args;
    }
}

TEST_F(DemoUninstall, AnAutoexecBatTheInstallMadeGoesAgain) {
    fs::remove(work_ / "root" / "drive_c" / "autoexec.bat");
    const auto before = Snapshot();
    ASSERT_EQ(Kavsetup(""), 0) << output_;
    ASSERT_TRUE(fs::exists(work_ / "root" / "drive_c" / "autoexec.bat"));
    ASSERT_EQ(WEXITSTATUS(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'")), 5) << output_;
    Restart();
    fs::remove(work_ / "root" / "journal.txt");
    ExpectAsBefore(before);
}

// Keys the install made (a vendor's key, a file type's key of the user's)
// go once the uninstall has emptied them, and an "autoexec.kav" that was
// there before the install is there again afterwards.
TEST_F(DemoUninstall, KeysTheInstallMadeAndAnEarlierAutoexecKavComeOutAsBefore) {
    const fs::path src = work_ / "src" / "install.cfg";
    std::string script = ReadHost(src);
    const std::size_t ini = script.find("[INI - Setup]");
    ASSERT_NE(ini, std::string::npos);
    script.insert(script.find('\n', ini) + 1, "IniZ=.zdm~shell~open~zdemo\r\n");
    std::ofstream(src, std::ios::binary) << script;
    fs::remove_all(work_ / "set");
    ASSERT_EQ(Shell("'" + kavpack_.string() + "' build '" + (work_ / "src").string() + "' '" +
                    (work_ / "set").string() + "' --installer '" +
                    (work_ / "install.exe").string() + "' >/dev/null 2>&1"),
              0);
    std::ofstream(work_ / "root" / "drive_c" / "autoexec.kav", std::ios::binary)
        << "an earlier backup\r\n";
    const auto before = Snapshot();
    ASSERT_EQ(Kavsetup(""), 0) << output_;
    ASSERT_NE(ReadHost(work_ / "root" / "drive_c" / "autoexec.kav"), "an earlier backup\r\n");
    ASSERT_EQ(WEXITSTATUS(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'")), 5) << output_;
    EXPECT_NE(output_.find("removed: HKEY_CURRENT_USER\\.zdm\n"), std::string::npos) << output_;
    Restart();
    fs::remove(work_ / "root" / "journal.txt");
    ExpectAsBefore(before);
}

TEST_F(DemoUninstall, OnlyWhatTheInstallWroteGoesAndTheUsersFilesStay) {
    const fs::path folder = work_ / "root" / "drive_c" / "Program Files" / "Zephyrin Demo";
    std::ofstream(folder / "thesis.doc") << "the user's thesis";
    ASSERT_EQ(Kavsetup(""), 0) << output_;
    ASSERT_TRUE(fs::exists(folder / "install.exe"));
    // Saved into the product's folder after the install.
    std::ofstream(folder / "notes.txt") << "saved later";
    ASSERT_EQ(WEXITSTATUS(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'")), 5) << output_;
    EXPECT_EQ(ReadHost(folder / "thesis.doc"), "the user's thesis");
    EXPECT_EQ(ReadHost(folder / "notes.txt"), "saved later");
    for (const char* gone : {"install.exe", "install.cfg", "uninstall.cfg"}) {
        EXPECT_FALSE(fs::exists(folder / gone)) << gone;
    }
    EXPECT_NE(output_.find("left: C:\\Program Files\\Zephyrin Demo\\thesis.doc (not written by "
                           "the install)"),
              std::string::npos)
        << output_;
    EXPECT_NE(output_.find("left: C:\\Program Files\\Zephyrin Demo\\notes.txt"), std::string::npos);
    // The folder was there before the install.
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(DemoUninstall, NeitherTheInstallNorAnEditedScriptReachesTheHost) {
    // The set names a host folder as a directory of its own: the read-only
    // host refuses the copy, and a host file of that name made later is not
    // the product's.
    const fs::path host = work_ / "host";
    fs::create_directories(host);
    std::ofstream(host / "other.txt") << "host file";
    std::ofstream(host / "host.ini", std::ios::binary) << "[s]\r\nk=host\r\n";
    std::ofstream(host / "saved.txt") << "bytes from elsewhere";
    std::ofstream(work_ / "src" / "victim.txt") << "from the set";
    std::string script = ReadHost(work_ / "src" / "install.cfg");
    const std::size_t directories = script.find("[Directories]");
    ASSERT_NE(directories, std::string::npos);
    script.insert(script.find('\n', directories) + 1, "DirH=<SUBH><HOST>~" + OnZ(host) + "\r\n");
    const std::size_t files = script.find("[Files]");
    script.insert(script.find('\n', files) + 1, "FileH=victim.txt~<SUBH><HOST>\r\n");
    std::ofstream(work_ / "src" / "install.cfg", std::ios::binary) << script;
    fs::remove_all(work_ / "set");
    ASSERT_EQ(Shell("'" + kavpack_.string() + "' build '" + (work_ / "src").string() + "' '" +
                    (work_ / "set").string() + "' --installer '" +
                    (work_ / "install.exe").string() + "' >/dev/null 2>&1"),
              0);
    ASSERT_EQ(Kavsetup(""), 0) << output_;
    ASSERT_FALSE(fs::exists(host / "victim.txt"));
    EXPECT_EQ(ReadHost(ScriptFile()).find(OnZ(host / "victim.txt") + "=new"), std::string::npos);
    std::ofstream(host / "victim.txt") << "host file";
    // An edited script that names host files in every record.
    AddToScript("UNINS", OnZ(host / "other.txt") + "=\r\n" + OnZ(host) + "\\*.*=\r\n");
    AddToScript("File States", OnZ(host / "other.txt") + "=new\r\n" + OnZ(host / "v2.txt") +
                                   "=C:\\Program Files\\Zephyrin Demo\\Setup\\Saved\\1\\x\r\n" +
                                   OnZ(host / "host.ini") + "=" + OnZ(host / "saved.txt") + "\r\n");
    AddToScript("INI Entries", OnZ(host / "host.ini") + "|s|k=was:changed\r\n");
    ASSERT_EQ(WEXITSTATUS(Kavsetup("--uninstall 'Zephyrin Demo Tool 1.0'")), 5) << output_;
    EXPECT_EQ(ReadHost(host / "victim.txt"), "host file");
    EXPECT_EQ(ReadHost(host / "other.txt"), "host file");
    EXPECT_EQ(ReadHost(host / "host.ini"), "[s]\r\nk=host\r\n");
    EXPECT_TRUE(fs::exists(host / "saved.txt"));
    EXPECT_EQ(output_.find("removed when Windows restarts: Z:"), std::string::npos) << output_;
}

}  // namespace
