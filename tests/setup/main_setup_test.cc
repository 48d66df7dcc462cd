// The setup sequence from start-up to its ending, played through the
// headless back end on the test machine.
#include "setup/main_setup.h"

#include <gtest/gtest.h>

#include <functional>

#include "setup/run_state.h"
#include "setup/system_paths.h"
#include "setup/temporary_directory.h"
#include "support/test_machine.h"

namespace kav::setup {
namespace {

const std::string kCompletedPrefix = "Your installation of \r";
const std::string kCompletedSuffix =
    "\rhas be completed.\r\rPlease Remove any floppies from drive.";
const std::string kRestart =
    "Zephyrin is about to RE-BOOT your PC\r\rPlease Remove any floppies from drive.\r\r"
    "Click on OK when ready.";
const std::string kCanceled = "Your installation was canceled!";

class ScriptedStages final : public SetupStages {
public:
    std::function<void()> expansion;
    std::function<void()> wizard;
    int expansionRuns = 0;
    int wizardRuns = 0;
    int welcomeSkips = 0;

    void RunExpansion() override {
        ++expansionRuns;
        if (expansion) expansion();
    }
    void RunWizard() override {
        ++wizardRuns;
        if (wizard) wizard();
    }
    void SkipWelcomePage() override { ++welcomeSkips; }
    void PrepareWindows() override {}
};

class SetupSequenceTest : public testing::MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        set_ = Dir() + "\\set";
    }

    void WriteConfig(const std::string& mainSection) {
        WriteFile(set_ + "\\install.cfg", "[Setup - Main]\r\n" + mainSection);
    }

    // Runs install.exe as if started in `cwd` with `arguments`.
    void RunSetup(const std::string& cwd, std::vector<std::string> arguments = {}) {
        ASSERT_TRUE(Files().ChangeDirectory(cwd));
        form_ = std::make_unique<TMainSetup>(ui_, *machine_, run_, std::move(arguments), stages_);
        ui_.Run(*form_);
    }

    std::vector<std::string> Messages() const { return ui_.Messages().Texts(); }
    std::string WindowsDir() { return WindowsDirectory(machine_->SystemDirs()); }

    std::string set_;
    RunState run_;
    ScriptedStages stages_;
    std::unique_ptr<TMainSetup> form_;
};

TEST_F(SetupSequenceTest, ARunWithoutStagesEndsWithTheCompletionMessageNamingTheHeader) {
    WriteConfig("Show Re-Boot=0\r\nHeader=Demo Product 1.0\r\nDither From=$00FF00\r\n");
    RunSetup(set_);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{kCompletedPrefix + "Demo Product 1.0" + kCompletedSuffix}));
    EXPECT_EQ(run_.sourceDirectory, set_ + "\\");
    EXPECT_EQ(run_.argumentDirectory, "");
    EXPECT_EQ(run_.systemDriveRoot, WindowsDir().substr(0, 3));
    EXPECT_EQ(run_.temporaryDirectory, WindowsDir() + "\\Temp\\q");
    EXPECT_EQ(stages_.expansionRuns, 1);
    EXPECT_EQ(stages_.wizardRuns, 1);
    EXPECT_EQ(form_->GetColor(), 0x00FF00u);
    EXPECT_EQ(form_->Setup_Header.Caption(), "Demo Product 1.0");
    // The start timer waited its second; the lists were released at close.
    EXPECT_GE(ui_.Clock(), 1000u);
    EXPECT_EQ(run_.configuration, nullptr);
    EXPECT_TRUE(machine_->restart.calls.empty());
    // Started without an argument: the set is not the run's to delete.
    EXPECT_TRUE(Files().FileExists(set_ + "\\install.cfg"));
}

TEST_F(SetupSequenceTest, ShowReBootEndsWithTheAnnouncedRestart) {
    WriteConfig("Show Re-Boot=1\r\n");
    RunSetup(set_);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kRestart}));
    EXPECT_EQ(machine_->restart.calls,
              (std::vector<std::string>{"enable SeShutdownPrivilege", "exit 2",
                                        "disable SeShutdownPrivilege"}));
}

TEST_F(SetupSequenceTest, AnArgumentDirectoryIsTheSourceAndIsClearedAtTheEnd) {
    WriteConfig("Show Re-Boot=0\r\n");
    WriteFile(set_ + "\\disk.001", "segment");
    RunSetup(Dir(), {set_});
    EXPECT_EQ(run_.sourceDirectory, set_ + "\\");
    EXPECT_EQ(run_.argumentDirectory, set_);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(Files().DirectoryExists(set_));
}

TEST_F(SetupSequenceTest, ARelativeArgumentLosesOnlyTheSetFilesWhereItWas) {
    WriteConfig("Show Re-Boot=0\r\n");
    WriteFile(set_ + "\\sub\\keep.txt", "x");
    WriteFile(set_ + "\\WIN.INI", "[windows]");
    WriteFile(set_ + "\\DISK.002", "segment");
    WriteFile(set_ + "\\disk.0003", "not a segment name");
    RunSetup(Dir(), {"set"});
    EXPECT_EQ(run_.argumentDirectory, set_);
    EXPECT_FALSE(Files().FileExists(set_ + "\\install.cfg"));
    EXPECT_FALSE(Files().FileExists(set_ + "\\DISK.002"));
    EXPECT_TRUE(Files().FileExists(set_ + "\\WIN.INI"));
    EXPECT_TRUE(Files().FileExists(set_ + "\\disk.0003"));
    EXPECT_TRUE(Files().FileExists(set_ + "\\sub\\keep.txt"));
}

TEST_F(SetupSequenceTest, AMissingArgumentDirectoryStopsStartUpAndEndsWithoutRestart) {
    WriteConfig("Show Re-Boot=1\r\n");
    WriteFile(WindowsDir() + "\\Temp\\q\\left.txt", "from an earlier run");
    RunSetup(set_, {Dir() + "\\nowhere"});
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Cannot enter the directory " + Dir() + "\\nowhere.");
    EXPECT_EQ(stages_.expansionRuns, 0);
    EXPECT_FALSE(run_.startedUp);
    EXPECT_EQ(run_.temporaryDirectory, "");
    EXPECT_TRUE(machine_->restart.calls.empty());
    // Nothing was set, so closing deleted nothing.
    EXPECT_TRUE(Files().FileExists(WindowsDir() + "\\Temp\\q\\left.txt"));
    EXPECT_TRUE(Files().FileExists(set_ + "\\install.cfg"));
    ClearTemporaryDirectory(Files(), WindowsDir() + "\\Temp\\q");
}

TEST_F(SetupSequenceTest, TheRootOfDriveAIsTheSourceWithOneBackslashAndIsNeverCleared) {
    if (!Simulated()) GTEST_SKIP() << "needs a drive A";
    WriteFile("A:\\install.cfg", "[Setup - Main]\r\nShow Re-Boot=0\r\nHeader=From Floppy\r\n");
    RunSetup("A:\\", {"A:\\"});
    EXPECT_EQ(run_.sourceDirectory, "A:\\");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{kCompletedPrefix + "From Floppy" + kCompletedSuffix}));
    EXPECT_TRUE(Files().FileExists("A:\\install.cfg"));
}

TEST_F(SetupSequenceTest, StartUpClearsTheTemporaryDirectoryOfAnEarlierRun) {
    WriteConfig("Show Re-Boot=0\r\n");
    WriteFile(WindowsDir() + "\\Temp\\q\\stale.txt", "stale");
    bool staleSeen = true;
    stages_.expansion = [&] {
        staleSeen = Files().FileExists(WindowsDir() + "\\Temp\\q\\stale.txt");
    };
    RunSetup(set_);
    EXPECT_FALSE(staleSeen);
}

TEST_F(SetupSequenceTest, ASetupProgramToLaunchIsNeverPreselected) {
    for (const char* launch :
         {"<INSTALLDIR>\\SETUP.EXE", "<INSTALLDIR>\\setup.exe", "", "Setup."}) {
        for (bool showReBoot : {false, true}) {
            RunState run;
            WriteConfig(std::string("Launch=") + launch +
                        "\r\nShow Re-Boot=" + (showReBoot ? "1" : "0") + "\r\n");
            ASSERT_TRUE(Files().ChangeDirectory(set_));
            TMainSetup form(ui_, *machine_, run, {}, stages_);
            form.FormShow();
            const FinalChoice& choice = run.finalChoice;
            EXPECT_FALSE(choice.RadioButton1.Enabled()) << launch;
            EXPECT_EQ(choice.reboot.Checked(), showReBoot) << launch;
            EXPECT_EQ(choice.RadioButton2.Checked(), !showReBoot) << launch;
            EXPECT_EQ(choice.reboot.Visible(), showReBoot) << launch;
            EXPECT_FALSE(choice.RadioButton1.Checked());
            run.configuration.reset();
        }
    }
}

TEST_F(SetupSequenceTest, ALaunchedProgramEndsWithoutAnyMessage) {
    WriteConfig("Launch=<INSTALLDIR>\\tool.exe\r\nShow Re-Boot=1\r\n");
    RunSetup(set_);
    EXPECT_TRUE(run_.finalChoice.RadioButton1.Checked());
    EXPECT_TRUE(run_.finalChoice.RadioButton1.Enabled());
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(machine_->restart.calls.empty());
}

TEST_F(SetupSequenceTest, AFailedExpansionSkipsTheWizardAndNeverRestarts) {
    WriteConfig("Show Re-Boot=1\r\n");
    stages_.expansion = [&] { run_.Cancel(); };
    RunSetup(set_);
    EXPECT_EQ(stages_.wizardRuns, 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kCanceled}));
    EXPECT_TRUE(machine_->restart.calls.empty());
}

TEST_F(SetupSequenceTest, CancellingTheWizardOverridesTheChosenRestart) {
    WriteConfig("Show Re-Boot=1\r\n");
    stages_.wizard = [&] {
        EXPECT_TRUE(run_.finalChoice.reboot.Checked());
        run_.Cancel();
    };
    RunSetup(set_);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kCanceled}));
    EXPECT_TRUE(machine_->restart.calls.empty());
    EXPECT_FALSE(run_.finalChoice.RadioButton1.Checked());
}

TEST_F(SetupSequenceTest, HiddenWelcomeScreenSkipsTheWelcomePageOnce) {
    WriteConfig("Show Warning Screen=0\r\nShow Re-Boot=0\r\n");
    RunSetup(set_);
    EXPECT_EQ(stages_.welcomeSkips, 1);
    WriteConfig("Show Re-Boot=0\r\n");
    RunState again;
    ScriptedStages other;
    TMainSetup form(ui_, *machine_, again, {}, other);
    ui_.Run(form);
    EXPECT_EQ(other.welcomeSkips, 0);
}

TEST_F(SetupSequenceTest, DoubleClickingTheIconBeforeTheStagesAbandonsTheRun) {
    WriteConfig("Show Re-Boot=1\r\n");
    ui_.User().WhenShown(
        "MainSetup", [](widgets::Form& form) { form.Get<widgets::Image>("Image1").DblClick(); });
    RunSetup(set_);
    EXPECT_EQ(stages_.expansionRuns, 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kCanceled}));
    EXPECT_TRUE(machine_->restart.calls.empty());
    EXPECT_FALSE(form_->Timer1.Enabled());
}

TEST_F(SetupSequenceTest, LayoutFollowsTheMaximisedWindow) {
    WriteConfig("Show Re-Boot=0\r\n");
    ui_.SetScreenSize(1024, 600);
    RunSetup(set_);
    EXPECT_EQ(form_->Width(), 1024);
    EXPECT_EQ(form_->MainScreen.Width(), 1024);
    EXPECT_EQ(form_->Image1.Left(), 976);
    EXPECT_EQ(form_->Setup_Copyright.Top(), 600 - form_->Setup_Copyright.Height() - 10);
}

TEST_F(SetupSequenceTest, HeadersTakeTheSizeOfTheirTextAndTheSecondFollowsTheFirst) {
    WriteConfig("Show Re-Boot=0\r\nHeader=Zephyrin Demo Tool 1.0\r\nHeader Font Size=40\r\n");
    RunSetup(set_);
    const widgets::Label& header = form_->Setup_Header;
    const auto text = ui_.MeasureText(header.Caption(), header.GetFont());
    // The whole caption fits, shadow included: nothing is cut off.
    EXPECT_GE(header.Width(), text.width + header.ShadowSize());
    EXPECT_GE(header.Height(), text.height);
    EXPECT_GT(header.Height(), 43);
    EXPECT_EQ(form_->Setup_Header2.Top(), header.Top() + header.Height() + 2);
}

}  // namespace
}  // namespace kav::setup
