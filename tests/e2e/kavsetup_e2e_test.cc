// kavsetup run as a user would run it: from a shell, on a set in a host
// directory, with the simulated machine in another.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim/journal.h"

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
            << "[Setup - Main]\r\nShow Re-Boot=" << showReBoot << "\r\nHeader=Sample Product 3\r\n";
    }

    // Runs kavsetup in `cwd` and returns what it printed.
    std::string Run(const fs::path& cwd, const std::string& args) {
        const std::string command = "cd '" + cwd.string() + "' && '" + program_.string() +
                                    "' --root '" + (work_ / "root").string() + "' " + args;
        std::string output;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return output;
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
        status_ = pclose(pipe);
        return output;
    }

    fs::path program_;
    fs::path work_;
    int status_ = -1;
};

TEST_F(KavsetupRun, CompletesInTheCurrentDirectoryAndKeepsTheSet) {
    WriteConfig("0");
    EXPECT_EQ(Run(work_ / "set", ""),
              "[KAV - Setup] Your installation of \\rSample Product 3\\rhas be completed.\\r\\r"
              "Please Remove any floppies from drive. <OK>\n");
    EXPECT_EQ(status_, 0);
    EXPECT_TRUE(fs::exists(work_ / "set" / "install.cfg"));
    EXPECT_TRUE(kav::platform::sim::ReadJournal((work_ / "root").string()).empty());
}

TEST_F(KavsetupRun, RestartIsJournaledAndTheArgumentDirectoryIsConsumed) {
    WriteConfig("1");
    const std::string output = Run(work_, "set");
    EXPECT_EQ(output,
              "[KAV - Setup] Zephyrin is about to RE-BOOT your PC\\r\\rPlease Remove any "
              "floppies from drive.\\r\\rClick on OK when ready. <OK>\n");
    const auto journal = kav::platform::sim::ReadJournal((work_ / "root").string());
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], (std::vector<std::string>{"AdjustPrivilege", "SeShutdownPrivilege",
                                                    "enable", "true"}));
    EXPECT_EQ(journal[1], (std::vector<std::string>{"ExitSession", "2", "true"}));
    EXPECT_EQ(journal[2][2], "disable");
    EXPECT_FALSE(fs::exists(work_ / "set"));
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
