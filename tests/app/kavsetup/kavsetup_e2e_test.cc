// kavsetup run as a user would run it: from a shell, on a set in a host
// directory, with the simulated machine in another.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/sim/journal.h"
#include "support/set_writer.h"

namespace {

namespace fs = std::filesystem;

class KavsetupRun : public ::testing::Test {
protected:
    void SetUp() override {
        const char* build = std::getenv("KAV_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        program_ = fs::path(build) / "src/app/kavsetup/kavsetup";
        work_ =
            fs::temp_directory_path() /
            ("kavsetup_e2e_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work_);
        fs::create_directories(work_ / "set");
    }
    void TearDown() override { fs::remove_all(work_); }

    void WriteConfig(const std::string& showReBoot) {
        std::ofstream(work_ / "set" / "install.cfg")
            << "[Setup - Main]\r\nShow Re-Boot=" << showReBoot
            << "\r\nHeader=Sample Product 3\r\nInstall Dir=Sample\r\n"
               "[Directories]\r\nDir1=<INSTALLDIR>~\r\n";
    }

    // A whole set: the script, the installer and `segments` segment files
    // holding two files, the first segment in set/, the others in
    // floppy2/, floppy3/, ...
    void WriteSet(const std::string& showReBoot, std::size_t segments = 1) {
        using namespace kav::archive::testing;
        WriteConfig(showReBoot);
        std::ofstream(work_ / "set" / "install.exe") << "MZ";
        Bytes big(30000);
        for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
        SegmentSetWriter set;
        set.Add(ArchiveFor("C:\\App\\main.arc", ArchiveWriter()
                                                    .Add(Stored("readme.txt", BytesOf("read me")))
                                                    .Add(Stored("data\\big.bin", big))));
        const auto files = set.SplitEvery(set.LogicalStream().size() / segments + 16);
        ASSERT_EQ(files.size(), segments);
        for (std::size_t i = 0; i < files.size(); ++i) {
            const fs::path dir =
                i == 0 ? work_ / "set" : work_ / ("floppy" + std::to_string(i + 1));
            fs::create_directories(dir);
            WriteHostFile((dir / files[i].name).string(), files[i].bytes);
        }
    }

    // Runs kavsetup in `cwd` and returns what it printed before its report
    // of the changes, which goes to report_.
    std::string Run(const fs::path& cwd, const std::string& args) {
        const std::string command = "cd '" + cwd.string() + "' && '" + program_.string() +
                                    "' --root '" + (work_ / "root").string() + "' " + args +
                                    " </dev/null";
        std::string output;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return output;
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
        status_ = pclose(pipe);
        const std::size_t at = output.find("Directories made: ");
        report_ = at == std::string::npos ? "" : output.substr(at);
        return output.substr(0, at);
    }

    std::vector<std::string> SetFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(work_ / "set"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path program_;
    fs::path work_;
    int status_ = -1;
    std::string report_;
};

// The default user's way through the wizard of a set without a licence.
const std::string kDefaultWalk =
    "[KAV32 - Setup] page 0 \"page1\"\n"
    "[KAV32 - Setup] page 2 \"Page3\"\n"
    "[KAV32 - Setup] page 3 \"Page4\"\n"
    "[KAV32 - Setup] page 5 \"Page5\"\n"
    "[KAV32 - Setup] Install: to \"C:\\Sample\"; full; folder \"Accessories\" start menu no "
    "desktop "
    "no; desktop []; start menu []; finish ";
const std::string kCompleted =
    kDefaultWalk + "return\n" +
    "[KAV - Setup] Your installation of \\rSample Product 3\\rhas be completed.\\r\\r"
    "Please Remove any floppies from drive. <OK>\n";

TEST_F(KavsetupRun, ExpandsAWholeSetInTheCurrentDirectoryAndLeavesTheHostAlone) {
    WriteSet("0");
    EXPECT_EQ(Run(work_ / "set", ""), kCompleted);
    EXPECT_EQ(status_, 0);
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"disk.001", "install.cfg", "install.exe"}));
    EXPECT_TRUE(kav::platform::sim::ReadJournal((work_ / "root").string()).empty());
}

TEST_F(KavsetupRun, ASetWithoutSegmentsIsCancelledAndNeverRestarts) {
    WriteConfig("1");
    std::ofstream(work_ / "set" / "install.exe") << "MZ";
    EXPECT_EQ(Run(work_, "set"),
              "[KAV - Setup] Please Insert Disk #1 into Floppy Drive. <OK>\n"
              "[KAV - Setup] Please Insert Disk #1 into Floppy Drive. <OK>\n"
              "[KAV - Setup] Unable to locate \"disk.001\" on this segment!\\n\\rCorrect and then "
              "press OK, or Cancel to abort <Cancel>\n"
              "[KAV - Setup] Error Expanding Files!! <OK>\n"
              "[KAV - Setup] Your installation was canceled! <OK>\n");
    EXPECT_TRUE(kav::platform::sim::ReadJournal((work_ / "root").string()).empty());
    EXPECT_TRUE(fs::exists(work_ / "set" / "install.cfg"));
}

TEST_F(KavsetupRun, TheNextDiskComesFromTheMediaFolders) {
    WriteSet("0", 3);
    const std::string output = Run(work_, "--media floppy2 --media floppy3 set");
    EXPECT_EQ(output,
              "[KAV - Setup] Please Insert Disk #2 into Floppy Drive. <OK>\n"
              "[KAV - Setup] Please Insert Disk #3 into Floppy Drive. <OK>\n" +
                  kCompleted);
}

TEST_F(KavsetupRun, RestartIsJournaledAndTheSetStaysOnItsMedium) {
    WriteSet("1");
    const std::string output = Run(work_, "set");
    EXPECT_EQ(output, kDefaultWalk + "reboot\n" +
                          "[KAV - Setup] Zephyrin is about to RE-BOOT your PC\\r\\rPlease "
                          "Remove any floppies from drive.\\r\\rClick on OK when ready. <OK>\n");
    const auto journal = kav::platform::sim::ReadJournal((work_ / "root").string());
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], (std::vector<std::string>{"AdjustPrivilege", "SeShutdownPrivilege",
                                                    "enable", "true"}));
    EXPECT_EQ(journal[1], (std::vector<std::string>{"ExitSession", "2", "true"}));
    EXPECT_EQ(journal[2][2], "disable");
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"disk.001", "install.cfg", "install.exe"}));
}

// A set whose wizard has every page: a licence, a folder with two
// shortcuts, the kind-of-install question and all three endings.
class KavsetupWizard : public KavsetupRun {
protected:
    void SetUp() override {
        KavsetupRun::SetUp();
        using namespace kav::archive::testing;
        std::ofstream(work_ / "set" / "install.cfg")
            << "[Setup - Main]\r\nShow Re-Boot=1\r\nHeader=Sample Product 3\r\n"
               "Install Dir=Tool\r\nAdd to Program Files=1\r\nFolder=Tools\r\n"
               "Launch=<INSTALLDIR>\\tool.exe\r\nWork Station Prompt=1\r\n"
               "[Directories]\r\nDir1=<INSTALLDIR>~\r\n"
               "[Desktop]\r\nD1=Tool~<INSTALLDIR>\\tool.exe~X~X~~Tools\r\n"
               "D2=Help~<INSTALLDIR>\\help.txt~~X~~Tools\r\n";
        std::ofstream(work_ / "set" / "install.exe") << "MZ";
        SegmentSetWriter set;
        set.Add(
            ArchiveFor("C:\\App\\main.arc",
                       ArchiveWriter().Add(Stored(
                           "license.txt", BytesOf("\r\n  \r\nSAMPLE LICENCE\r\nUse it.\r\n")))));
        const auto files = set.SplitEvery(1 << 20);
        WriteHostFile((work_ / "set" / files[0].name).string(), files[0].bytes);
    }

    // The lines of the output that start with `prefix`.
    static std::vector<std::string> Lines(const std::string& output, const std::string& prefix) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < output.size()) {
            const std::size_t end = output.find('\n', start);
            const std::string line = output.substr(start, end - start);
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return lines;
    }
    std::string Choices(const std::string& output) {
        const auto lines = Lines(output, "[KAV32 - Setup] Install: ");
        return lines.size() == 1 ? lines[0].substr(25) : "(" + std::to_string(lines.size()) + ")";
    }
    std::string Ending(const std::string& output) {
        const auto lines = Lines(output, "[KAV - Setup] ");
        return lines.empty() ? "" : lines.back().substr(14, 30);
    }
};

TEST_F(KavsetupWizard, TheDefaultUserPassesEveryPageAndLaunches) {
    const std::string output = Run(work_ / "set", "");
    EXPECT_EQ(
        Lines(output, "[KAV32 - Setup] page"),
        (std::vector<std::string>{
            "[KAV32 - Setup] page 0 \"page1\"", "[KAV32 - Setup] page 1 \"Page2\": SAMPLE LICENCE",
            "[KAV32 - Setup] page 2 \"Page3\"", "[KAV32 - Setup] page 3 \"Page4\"",
            "[KAV32 - Setup] page 4 \"installtype\"", "[KAV32 - Setup] page 5 \"Page5\""}));
    EXPECT_EQ(Choices(output),
              "to \"C:\\Program Files\\Tool\"; workstation; folder \"Tools\" start menu no "
              "desktop no; desktop [Tool]; start menu [Tool, Help]; finish launch");
    EXPECT_TRUE(Lines(output, "[KAV - Setup]").empty());  // launching ends silently
    EXPECT_EQ(status_, 0);
}

TEST_F(KavsetupWizard, OptionsChangeEveryChoice) {
    const std::string output =
        Run(work_ / "set",
            "--dir 'D:\\Else' --full --finish reboot --start-menu-folder no --desktop-folder no "
            "--no-shortcut Help --no-shortcut Tool --shortcut Tool");
    EXPECT_EQ(Lines(output, "[KAV - Setup] Create"),
              (std::vector<std::string>{
                  "[KAV - Setup] Create New Directory for Installation [D:\\Else] ? <Yes>"}));
    EXPECT_EQ(Choices(output),
              "to \"D:\\Else\"; full; folder \"Tools\" start menu no desktop no; desktop [Tool]; "
              "start menu [Tool, -Help]; finish reboot");
    EXPECT_EQ(Ending(output), "Zephyrin is about to RE-BOOT y");
}

TEST_F(KavsetupWizard, AnAnsweredQuestionAndReturnToWindows) {
    const std::string output =
        Run(work_ / "set", "--dir 'D:\\Else' --answer 'Create New*\\Else] ?=No' --finish return");
    EXPECT_EQ(Lines(output, "[KAV - Setup] Create"),
              (std::vector<std::string>{
                  "[KAV - Setup] Create New Directory for Installation [D:\\Else] ? <No>"}));
    EXPECT_EQ(Choices(output).rfind("to \"C:\\Program Files\\Tool\";", 0), 0u);
    EXPECT_EQ(Ending(output), "Your installation of \\rSample ");
}

TEST_F(KavsetupWizard, DeclineAndCancelAtAPageEndCancelled) {
    for (const std::string options : {"--decline", "--cancel-at 4"}) {
        SCOPED_TRACE(options);
        const std::string output = Run(work_ / "set", options);
        EXPECT_EQ(Lines(output, "[KAV32 - Setup] page").size(), options == "--decline" ? 2u : 5u);
        EXPECT_EQ(Choices(output), "(0)");
        EXPECT_EQ(Ending(output), "Your installation was canceled");
        EXPECT_TRUE(kav::platform::sim::ReadJournal((work_ / "root").string()).empty());
    }
}

TEST_F(KavsetupWizard, BadOptionsAreRefused) {
    for (const std::string options :
         {"--finish never", "--cancel-at 9", "--answer NoButton", "--desktop-folder maybe"}) {
        Run(work_ / "set", options + " 2>/dev/null");
        EXPECT_NE(status_, 0) << options;
    }
}

TEST_F(KavsetupRun, MissingArgumentDirectoryEndsWithOnlyTheError) {
    WriteConfig("1");
    EXPECT_EQ(
        Run(work_, "nowhere"), "[KAV - Setup] Cannot enter the directory Z:" + [&] {
            std::string p = (work_ / "nowhere").string();
            for (char& c : p) c = c == '/' ? '\\' : c;
            return p;
        }() + ". <OK>\n");
    EXPECT_TRUE(kav::platform::sim::ReadJournal((work_ / "root").string()).empty());
    EXPECT_TRUE(fs::exists(work_ / "set" / "install.cfg"));
}

TEST_F(KavsetupRun, APipeForAScriptIsRefusedByName) {
    ASSERT_EQ(::mkfifo((work_ / "set" / "install.cfg").c_str(), 0600), 0);
    const std::string output = Run(work_, "set 2>&1");
    EXPECT_NE(output.find("install.cfg is not a regular file; refused"), std::string::npos)
        << output;
    EXPECT_NE(status_, 0);
}

TEST_F(KavsetupRun, RejectsAMissingRoot) {
    const std::string command = "'" + program_.string() + "' >/dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace

// The demo product packed by kavpack and installed through the default
// wizard: its report names every file of the set at its destination, with
// the size of the source file.
TEST_F(KavsetupRun, InstallsTheDemoSetAndReportsEveryFile) {
    const fs::path build = std::getenv("KAV_BUILD_DIR");
    const fs::path demo = fs::path(std::getenv("KAV_TEST_DATA")) / ".." / ".." / "samples" / "demo";
    std::ofstream(work_ / "install.exe") << "MZ";
    const std::string pack = "'" + (build / "src/app/kavpack/kavpack").string() + "' build '" +
                             demo.string() + "' '" + (work_ / "demo").string() +
                             "' --segment-size 16384 --no-uninstaller --installer '" +
                             (work_ / "install.exe").string() + "' >/dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    Run(work_ / "demo", "--report '" + (work_ / "report.json").string() + "'");
    EXPECT_EQ(status_, 0);
    std::ifstream in(work_ / "report.json");
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string dir = "C:\\\\Program Files\\\\Zephyrin Demo\\\\";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"readme.txt", ""},       {"license.txt", ""},        {"logo.gif", ""},
        {"zdemo.cfg", "Bin\\\\"}, {"manual.txt", "Docs\\\\"}, {"first-steps.txt", "Docs\\\\"},
        {"words.dat", "Data\\\\"}};
    for (const auto& [name, sub] : files) {
        std::uintmax_t size = 0;
        for (const auto& entry : fs::recursive_directory_iterator(demo)) {
            if (entry.path().filename() == name) size = entry.file_size();
        }
        ASSERT_GT(size, 0u) << name;
        const std::string line =
            "{\"path\": \"" + dir + sub + name + "\", \"size\": " + std::to_string(size) + "}";
        EXPECT_NE(json.find(line), std::string::npos) << line;
        EXPECT_NE(report_.find(name + " (" + std::to_string(size) + " bytes)"), std::string::npos);
    }
    EXPECT_NE(json.find("\"text\": \"[Program]\\r\\nTitle=Zephyrin Demo Tool 1.0"),
              std::string::npos);
}

// A product packed by kavpack whose last file is empty: that file is
// expanded, installed and recorded for removal like any other.
// Control characters from the set's script reach the terminal spelled out,
// never as escape sequences or bells.
TEST_F(KavsetupRun, ControlCharactersFromTheSetAreEscaped) {
    WriteSet("0");
    std::ofstream(work_ / "set" / "install.cfg")
        << "[Setup - Main]\r\nShow Re-Boot=0\r\nHeader=\x1b]0;owned\x07Product"
           "\x9b"
           "2J\xc2\x9b"
           "1m\xc3\xa9\r\n"
           "Install Dir=Sample\r\n[Directories]\r\nDir1=<INSTALLDIR>~\r\n";
    const std::string shown = Run(work_ / "set", "");
    EXPECT_EQ(status_, 0) << shown;
    const std::string all = shown + report_;
    EXPECT_EQ(all.find('\x1b'), std::string::npos) << all;
    EXPECT_EQ(all.find('\x07'), std::string::npos) << all;
    // CSI as one byte (an 8-bit terminal) and in UTF-8; "\xc3\xa9" is a
    // character, not a control.
    EXPECT_EQ(all.find('\x9b'), std::string::npos) << all;
    EXPECT_NE(all.find("\\x1B]0;owned\\x07Product\\x9B2J\xc2\\x9B1m\xc3\xa9"), std::string::npos)
        << all;
}

TEST_F(KavsetupRun, AnEmptyFilePackedLastIsInstalledAndRecorded) {
    const fs::path build = std::getenv("KAV_BUILD_DIR");
    const fs::path product = work_ / "product";
    fs::create_directories(product);
    std::ofstream(product / "install.cfg")
        << "[Setup - Main]\r\nHeader=Sample Product 3\r\nInstall Dir=Sample\r\n"
           "[Directories]\r\nDir1=<INSTALLDIR>~\r\n"
           "[Files]\r\nFile1=readme.txt~<INSTALLDIR>\r\nFile2=zero.log~<INSTALLDIR>\r\n";
    std::ofstream(product / "readme.txt") << "read me";
    std::ofstream(product / "zero.log");
    std::ofstream(work_ / "install.exe") << "MZ";
    const std::string pack = "'" + (build / "src/app/kavpack/kavpack").string() + "' build '" +
                             product.string() + "' '" + (work_ / "packed").string() +
                             "' --no-uninstaller --installer '" + (work_ / "install.exe").string() +
                             "' >/dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    Run(work_ / "packed", "");
    EXPECT_EQ(status_, 0);
    EXPECT_NE(report_.find("  C:\\Sample\\readme.txt (7 bytes)\n"), std::string::npos) << report_;
    EXPECT_NE(report_.find("  C:\\Sample\\zero.log (0 bytes)\n"), std::string::npos) << report_;
    EXPECT_NE(report_.find("  C:\\Sample\\zero.log=\n"), std::string::npos) << report_;
    EXPECT_NE(report_.find("  C:\\Sample\\zero.log=new\n"), std::string::npos) << report_;
}

// A product of 10,000 small files in 50 folders, eleven times what one
// 8192-byte listing of the Files section's keys held: kavpack finds a Files
// line for every file, and every file is installed and recorded for removal.
TEST_F(KavsetupRun, InstallsEveryFileOfAProductFarBeyondOneKeyListing) {
    constexpr int kFiles = 10000;
    constexpr int kFolders = 50;
    const fs::path build = std::getenv("KAV_BUILD_DIR");
    const fs::path product = work_ / "product";
    std::string cfg =
        "[Setup - Main]\r\nHeader=Large Product\r\nInstall Dir=Large\r\n"
        "[Directories]\r\nDir0=<INSTALLDIR>~\r\n";
    for (int d = 1; d <= kFolders; ++d) {
        const std::string n = std::to_string(d);
        cfg += "Dir" + n + "=<SUB" + n + "><INSTALLDIR>~d" + n + "\r\n";
        fs::create_directories(product / ("d" + n));
    }
    cfg += "[Files]\r\n";
    std::vector<std::string> expected;
    for (int i = 0; i < kFiles; ++i) {
        const std::string folder = "d" + std::to_string(i % kFolders + 1);
        std::string name = std::to_string(100000 + i);
        name = "f" + name.substr(1) + ".txt";  // f00000.txt: no name holds another
        std::ofstream(product / folder / name) << name;
        cfg += "File" + std::to_string(i) + "=" + name + "~<SUB" +
               std::to_string(i % kFolders + 1) + "><INSTALLDIR>\r\n";
        expected.push_back("C:\\Large\\" + folder + "\\" + name);
    }
    std::ofstream(product / "install.cfg") << cfg;
    std::ofstream(work_ / "install.exe") << "MZ";
    const std::string pack =
        "'" + (build / "src/app/kavpack/kavpack").string() + "' build '" + product.string() +
        "' '" + (work_ / "packed").string() + "' --level fast --no-uninstaller --installer '" +
        (work_ / "install.exe").string() + "' >/dev/null 2>'" + (work_ / "pack.err").string() + "'";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    std::ifstream packErr(work_ / "pack.err");
    const std::string warnings((std::istreambuf_iterator<char>(packErr)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(warnings.find("no Files line"), std::string::npos) << warnings.substr(0, 500);

    Run(work_ / "packed", "");
    EXPECT_EQ(status_, 0);
    std::set<std::string> lines;
    for (std::size_t start = 0; start < report_.size();) {
        const std::size_t end = std::min(report_.find('\n', start), report_.size());
        lines.insert(report_.substr(start, end - start));
        start = end + 1;
    }
    int installed = 0, recorded = 0;
    for (const std::string& path : expected) {
        installed += lines.count("  " + path + " (10 bytes)") ? 1 : 0;
        recorded += lines.count("  " + path + "=") ? 1 : 0;
    }
    EXPECT_EQ(installed, kFiles);
    EXPECT_EQ(recorded, kFiles);
}
