// kavsetup on a machine whose Windows is not a Western one: a set whose
// names are code page 1252 but not ASCII installs there under its own names,
// and a system folder whose name has no code page 1252 form stops the run by
// name before anything is written.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadHost(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The test's own text is UTF-8, as the host's names are; the script is code
// page 1252, as every set's is.
const std::string kTitle =
    "Caf\xC3\xA9 Gr\xC3\xBC\xC3\x9F"
    "e";
const std::string kTitle1252 =
    "Caf\xE9 Gr\xFC\xDF"
    "e";

class CodePageRun : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path build = std::getenv("KAV_BUILD_DIR");
        kavsetup_ = build / "src/app/kavsetup/kavsetup";
        work_ = fs::temp_directory_path() /
                ("kavsetup_code_page_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work_);
        fs::create_directories(work_);
        Pack(build / "src/app/kavpack/kavpack");
    }
    void TearDown() override { fs::remove_all(work_); }

    // The demo set with its title and three more files in code page 1252.
    void Pack(const fs::path& kavpack) {
        const fs::path demo =
            fs::path(std::getenv("KAV_TEST_DATA")) / ".." / ".." / "samples" / "demo";
        fs::copy(demo, work_ / "src", fs::copy_options::recursive);
        std::ofstream(work_ / "src" / "uninstaller.exe") << "MZ uninstaller";
        std::ofstream(work_ / "install.exe") << "MZ";
        std::ofstream(work_ / "src" / "Caf\xC3\xA9.txt") << "plain";
        std::ofstream(work_ / "src" /
                      "Gr\xC3\xBC\xC3\x9F"
                      "e.ini")
            << "[a]\r\nb=c\r\n";
        std::ofstream(work_ / "src" / "Preis \xE2\x82\xAC.txt") << "10 \xE2\x82\xAC";
        std::istringstream script(ReadHost(work_ / "src" / "install.cfg"));
        std::string edited;
        for (std::string line; std::getline(script, line);) {
            if (line.rfind("Install Dir=", 0) == 0) line = "Install Dir=" + kTitle1252 + "\r";
            if (line.rfind("Header=", 0) == 0) line = "Header=" + kTitle1252 + "\r";
            edited += line + "\n";
            if (line.rfind("[Files]", 0) == 0) {
                edited +=
                    "File20=Caf\xE9.txt~<INSTALLDIR>\r\nFile21=Gr\xFC\xDF"
                    "e.ini~<INSTALLDIR>"
                    "\r\nFile22=Preis \x80.txt~<INSTALLDIR>\r\n";
            }
        }
        if (edited.find("uninstaller.exe~") == std::string::npos) {
            edited += "[Files]\r\nFileU=uninstaller.exe~<INSTALLDIR>\r\n";
        }
        std::ofstream(work_ / "src" / "install.cfg", std::ios::binary) << edited;
        ASSERT_EQ(Run("'" + kavpack.string() + "' build '" + (work_ / "src").string() + "' '" +
                      (work_ / "set").string() + "' --installer '" +
                      (work_ / "install.exe").string() + "'"),
                  0)
            << output_;
    }

    int Run(const std::string& command) {
        output_.clear();
        FILE* pipe = popen(
            ("cd '" + (work_ / "set").string() + "' 2>/dev/null; " + command + " </dev/null 2>&1")
                .c_str(),
            "r");
        if (pipe == nullptr) return -1;
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output_ += buffer.data();
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Kavsetup(const std::string& args) {
        return Run("'" + kavsetup_.string() + "' --root '" + (work_ / "root").string() + "' " +
                   args);
    }

    fs::path kavsetup_;
    fs::path work_;
    std::string output_;
};

TEST_F(CodePageRun, ARussianWindowsGetsTheSetUnderItsOwnNamesAndLosesItAgain) {
    ASSERT_EQ(Kavsetup("--code-page 1251 /VERYSILENT"), 0) << output_;
    const fs::path installed = work_ / "root/drive_c/Program Files" / kTitle;
    for (const std::string name : {"Caf\xC3\xA9.txt",
                                   "Gr\xC3\xBC\xC3\x9F"
                                   "e.ini",
                                   "Preis \xE2\x82\xAC.txt", "readme.txt", "uninstaller.exe"}) {
        EXPECT_TRUE(fs::is_regular_file(installed / name)) << name;
    }
    EXPECT_EQ(ReadHost(installed / "Preis \xE2\x82\xAC.txt"), "10 \xE2\x82\xAC");
    const std::string registry = ReadHost(work_ / "root/registry.reg");
    EXPECT_NE(registry.find("\"DisplayName\"=\"" + kTitle1252 + "\""), std::string::npos);
    // The short name keeps only what a Russian system's code page has.
    EXPECT_NE(ReadHost(work_ / "root/drive_c/autoexec.bat").find("C:\\PROGRA~1\\CAF_GR~1\\BIN"),
              std::string::npos);

    // The title as typed at a UTF-8 terminal finds the registration; the
    // running uninstaller is left for the restart (5).
    ASSERT_EQ(Kavsetup("--code-page 1251 --uninstall '" + kTitle + "'"), 5) << output_;
    std::string left;
    for (const auto& entry : fs::recursive_directory_iterator(installed))
        left += entry.path().filename().string() + " ";
    EXPECT_EQ(left, "uninstaller.exe ");  // removed at the restart: it was running
    EXPECT_EQ(ReadHost(work_ / "root/registry.reg").find("DisplayName"), std::string::npos);
}

TEST_F(CodePageRun, AUserFolderWithoutACodePage1252NameStopsTheRunByName) {
    EXPECT_EQ(Kavsetup("--code-page 1251 --user '\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD'"), 2);
    EXPECT_NE(output_.find("[KAV - Setup] The name C:\\Users\\????\\Desktop has characters that "
                           "setup cannot write in the Windows code page 1252"),
              std::string::npos)
        << output_;
    EXPECT_NE(output_.find("Directories made: 0\nFiles written: 0\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(work_ / "root/drive_c/Program Files" / kTitle));
    for (const auto& entry : fs::recursive_directory_iterator(work_ / "root"))
        EXPECT_EQ(entry.path().filename().string().find('?'), std::string::npos) << entry.path();
}

}  // namespace
