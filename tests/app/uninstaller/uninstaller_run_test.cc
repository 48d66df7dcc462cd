// The uninstaller's run on the simulated machine: from the install folder
// it only hands over to its copy; the copy removes everything, the folder
// included; a copy pointed elsewhere removes nothing.
#include "app/uninstaller/uninstaller_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "install/text_file.h"
#include "install/uninstall_script.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_machine.h"
#include "widgets/headless/headless_backend.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::string>;

constexpr const char* kProgram = "C:\\Apps\\Tool\\uninstaller.exe";
constexpr const char* kCopy = "C:\\WINDOWS\\Temp\\uninstaller-1000.exe";

class UninstallerRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("uninstaller_run_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        machine_ = std::make_unique<platform::sim::SimMachine>(root_.string(), ui_);
        for (const char* folder : {"C:\\Apps", "C:\\Apps\\Tool", "C:\\Apps\\Other"}) {
            machine_->Files().MakeDirectory(folder);
        }
        Write(kProgram, "MZ uninstaller");
        Write("C:\\Apps\\Tool\\a.txt", "mine");
        Write("C:\\Apps\\Other\\keep.txt", "theirs");
        Write("C:\\Apps\\Tool\\uninstall.cfg",
              "[Program]\r\nTitle=Tool 1.0\r\n[UNINS]\r\nC:\\Apps\\Tool\\*.*=\r\n"
              "[Directories]\r\nC:\\Apps\\Tool=\r\n[File States]\r\n"
              "C:\\Apps\\Tool\\a.txt=new\r\nC:\\Apps\\Tool\\uninstaller.exe=new\r\n");
        install::UninstallEntry entry;
        entry.title = "Tool 1.0";
        entry.installDirectory = "C:\\Apps\\Tool";
        install::RegisterUninstaller(machine_->RegistryKeys(), entry);
    }
    void TearDown() override {
        machine_.reset();
        fs::remove_all(root_);
    }
    void Write(const std::string& path, const std::string& text) {
        auto stream = machine_->Files().Create(path);
        stream->WriteExactly(text.data(), text.size());
    }
    int Run(const std::string& program, const std::string& arguments) {
        return RunUninstaller(*machine_, ui_, program, arguments);
    }
    std::vector<Fields> Journal() const { return platform::sim::ReadJournal(root_.string()); }
    bool Registered() {
        return machine_->RegistryKeys().KeyExists(platform::RootKey::LocalMachine,
                                                  install::UninstallKey("Tool 1.0"));
    }

    fs::path root_;
    widgets::headless::HeadlessBackend ui_;
    std::unique_ptr<platform::sim::SimMachine> machine_;
};

TEST_F(UninstallerRun, TheOriginalHandsOverAndTheCopyRemovesTheFolderToo) {
    platform::FileSystem& files = machine_->Files();
    // A title that is not the script's own: refused by the original, no copy.
    EXPECT_EQ(Run(kProgram, "/VERYSILENT Other 2.0"), kUninstallFailed);
    EXPECT_FALSE(files.FileExists(kCopy));

    EXPECT_EQ(Run(kProgram, "/VERYSILENT /SUPPRESSMSGBOXES Tool 1.0"), 0);
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Tool\\a.txt"));
    EXPECT_TRUE(Registered());
    EXPECT_EQ(install::ReadWholeFile(files, kCopy), "MZ uninstaller");
    const std::string arguments =
        "/FOLDER=\"C:\\Apps\\Tool\" /WAITFOR=1000 /VERYSILENT /SUPPRESSMSGBOXES \"Tool 1.0\"";
    ASSERT_EQ(Journal(),
              (std::vector<Fields>{{"Execute", kCopy, arguments, "C:\\WINDOWS\\Temp", "1", "42"}}));

    EXPECT_EQ(Run(kCopy, arguments), 0);
    for (const char* gone : {"C:\\Apps\\Tool\\a.txt", kProgram, "C:\\Apps\\Tool\\uninstall.cfg"}) {
        EXPECT_FALSE(files.FileExists(gone)) << gone;
    }
    EXPECT_FALSE(files.DirectoryExists("C:\\Apps\\Tool"));
    EXPECT_FALSE(Registered());
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Other\\keep.txt"));
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 3u);
    // Only the copy's own file waits for the restart, marked before the
    // copy waits for the original to end.
    EXPECT_EQ(journal[1], (Fields{"RemoveAtRestart", kCopy, "true"}));
    EXPECT_EQ(journal[2], (Fields{"WaitForProcessEnd", "1000", "20000", "true"}));
}

// A copy started by hand: a folder without the product's own script, or
// given in a roundabout form, loses nothing, and no file but the copy's own
// is marked for the restart.
TEST_F(UninstallerRun, ACopyForAnotherFolderRemovesNothing) {
    Write("C:\\Apps\\Other\\uninstall.cfg",
          "[Program]\r\nTitle=Other 2.0\r\n[UNINS]\r\nC:\\Apps\\Other\\*.*=\r\n"
          "[File States]\r\nC:\\Apps\\Other\\keep.txt=new\r\n");
    for (const std::string folder : {"C:\\Apps\\Other", "C:\\WINDOWS", "C:\\Apps\\Tool\\..\\Other",
                                     "Apps\\Tool", "C:\\Apps\\Tool\\*"}) {
        EXPECT_EQ(Run(kProgram, "/VERYSILENT /FOLDER=\"" + folder + "\" /WAITFOR=7 Tool 1.0"),
                  kUninstallFailed)
            << folder;
    }
    EXPECT_TRUE(machine_->Files().FileExists("C:\\Apps\\Other\\keep.txt"));
    EXPECT_TRUE(machine_->Files().FileExists("C:\\Apps\\Tool\\a.txt"));
    for (const Fields& event : Journal()) EXPECT_NE(event[0], "RemoveAtRestart") << event[1];
}

}  // namespace
}  // namespace kav::app
