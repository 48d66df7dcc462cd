// The install log's file: its lines, the code page text as UTF-8, and a log
// that cannot be written, reported once without stopping anything.
#include "app/stages/install_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/machine.h"
#include "widgets/headless/headless_backend.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

class InstallLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / "install_log_test";
        fs::remove_all(root_);
        machine_ = platform::MakeSimMachine(root_.string(), ui_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
    widgets::headless::HeadlessBackend ui_;
    std::unique_ptr<platform::Machine> machine_;
};

TEST_F(InstallLogTest, OneStampedUtf8LinePerEvent) {
    {
        FileEventLog log(machine_->Files(), "C:\\setup.log", nullptr, [] { return "T"; });
        log.Note("installed C:\\Caf\xE9\\a.txt");
        log.Note("price \x80 5");
    }
    std::ifstream in(root_ / "drive_c" / "setup.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "T installed C:\\Caf\xC3\xA9\\a.txt\r\nT price \xE2\x82\xAC 5\r\n");
    EXPECT_EQ(DatedLogName("C:\\Temp", 0).substr(0, 16), "C:\\Temp\\install-");
}

TEST_F(InstallLogTest, ALogThatCannotBeWrittenIsReportedOnceAndIgnored) {
    std::vector<std::string> reports;
    FileEventLog log(machine_->Files(), "C:\\no such folder\\setup.log",
                     [&](const std::string& problem) { reports.push_back(problem); });
    log.Note("one");
    log.Note("two");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("C:\\no such folder\\setup.log"), std::string::npos);
    EXPECT_FALSE(fs::exists(root_ / "drive_c" / "no such folder"));
}

// /LOG never destroys another file: an earlier run's log (or an empty file)
// is gone on with, anything else is refused untouched.
TEST_F(InstallLogTest, AnExistingLogIsContinuedAndAnyOtherFileRefused) {
    const fs::path host = root_ / "drive_c";
    const auto read = [&](const std::string& name) {
        std::ifstream in(host / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const std::string earlier = "2026-12-08 10:35:12.345 started: install.exe\r\n";
    std::ofstream(host / "setup.log", std::ios::binary) << earlier;
    std::ofstream(host / "empty.log", std::ios::binary);
    const std::string dll = std::string("MZ\x90\0\x03", 5) + "2026-12-08 10:35:12.345 x";
    std::ofstream(host / "system.dll", std::ios::binary) << dll;
    std::ofstream(host / "short.txt", std::ios::binary) << "notes";
    for (const char* name : {"setup.log", "empty.log"}) {
        FileEventLog log(machine_->Files(), std::string("C:\\") + name, nullptr,
                         [] { return "T"; });
        log.Note("again");
    }
    EXPECT_EQ(read("setup.log"), earlier + "T again\r\n");
    EXPECT_EQ(read("empty.log"), "T again\r\n");
    EXPECT_THROW(OpenRunLog(true, "C:\\system.dll", "C:\\", machine_->Files(), nullptr),
                 ELogFileRefused);
    EXPECT_THROW(FileEventLog(machine_->Files(), "C:\\short.txt", nullptr), ELogFileRefused);
    EXPECT_EQ(read("system.dll"), dll);
    EXPECT_EQ(read("short.txt"), "notes");
}

}  // namespace
}  // namespace kav::app
