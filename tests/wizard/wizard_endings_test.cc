// How the wizard's end reaches the setup sequence's ending: cancelled runs
// never restart, the restart choice restarts, launching ends silently.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/wizard_fixture.h"
#include "wizard/install_page_view.h"

namespace kav::wizard::testing {
namespace {

const std::string kCanceled = "Your installation was canceled!";
const std::string kRestartStart = "Zephyrin is about to RE-BOOT your PC";

using WizardEndingsTest = WizardTest;

struct Abandonment {
    const char* name;
    std::function<void(TKAV&)> act;
};

class AbandonedWizardTest : public WizardTest, public ::testing::WithParamInterface<Abandonment> {};

TEST_P(AbandonedWizardTest, EndsCancelledWithoutRestart) {
    WriteScript("Show Re-Boot=1\r\n");
    SetLicence("Terms\r\nMore terms\r\n");
    Run(GetParam().act);
    EXPECT_TRUE(run_.cancelled);
    EXPECT_FALSE(run_.finalChoice.reboot.Checked());
    EXPECT_EQ(Messages(), (std::vector<std::string>{kCanceled}));
    EXPECT_TRUE(machine_->restart.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWayOut, AbandonedWizardTest,
    ::testing::Values(Abandonment{"EscapeIsCancel",
                                  [](TKAV& kav) { kav.KeyDown(widgets::Key::Escape); }},
                      Abandonment{"Decline",
                                  [](TKAV& kav) {
                                      kav.next.Click();
                                      kav.decline.Click();
                                  }},
                      Abandonment{"CloseBoxOnTheReadyPage",
                                  [](TKAV& kav) {
                                      kav.next.Click();
                                      kav.accept.Click();
                                      kav.next.Click();
                                      kav.next.Click();
                                      kav.Close();
                                  }},
                      Abandonment{"UserWhoLeaves", [](TKAV&) {}}),
    [](const ::testing::TestParamInfo<Abandonment>& info) { return info.param.name; });

TEST_F(WizardEndingsTest, InstallWithTheRestartChosenRestarts) {
    WriteScript("Show Re-Boot=1\r\n");
    Run([&](TKAV& kav) {
        NextUntil(kav, kReadyPage);
        EXPECT_TRUE(run_.finalChoice.reboot.Checked());
        kav.KeyDown(widgets::Key::Enter);  // Install is the default button here
    });
    EXPECT_FALSE(run_.cancelled);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind(kRestartStart, 0), 0u);
    EXPECT_NE(std::find(machine_->restart.calls.begin(), machine_->restart.calls.end(), "exit 2"),
              machine_->restart.calls.end());
}

TEST_F(WizardEndingsTest, InstallWithLaunchEndsWithoutAMessageAndHandsTheFoldersOn) {
    WriteScript("Launch=<INSTALLDIR>\\tool.exe\r\nFolder=Tools\r\n");
    Run([&](TKAV& kav) {
        NextUntil(kav, kFoldersPage);
        EXPECT_FALSE(kav.CheckBox1.Checked());
        EXPECT_FALSE(kav.CheckBox2.Checked());
        kav.CheckBox1.Click();
        NextUntil(kav, kReadyPage);
        kav.install.Click();
        EXPECT_EQ(kav.PageIndex(), kProgressPage);
        EXPECT_TRUE(kav.InstallStarted());
    });
    EXPECT_FALSE(run_.cancelled);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(kav_->Shortcuts1.Folder, "Tools");
    EXPECT_TRUE(kav_->Shortcuts1.FolderStartMenu);
    EXPECT_FALSE(kav_->Shortcuts1.FolderDesktop);
}

TEST_F(WizardEndingsTest, ReturnToWindowsEndsWithTheCompletionMessage) {
    WriteScript("Launch=<INSTALLDIR>\\tool.exe\r\nHeader=Tool 2\r\n");
    Run([&](TKAV& kav) {
        NextUntil(kav, kReadyPage);
        run_.finalChoice.RadioButton2.Click();
        kav.install.Click();
    });
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("Your installation of \rTool 2\r", 0), 0u);
    // The folders page was passed over: no folder on the desktop or in the
    // Start menu itself, as on the page untouched.
    EXPECT_FALSE(kav_->Shortcuts1.FolderStartMenu);
    EXPECT_FALSE(kav_->Shortcuts1.FolderDesktop);
}

// The install page shows a burst of files at most every few hundredths of
// a second, and the last state whenever the engine asks for it.
TEST(InstallPageViewTest, ShowsABurstOfFilesSpacedAndTheLastStateOnFlush) {
    widgets::Label source("source");
    widgets::Label dest("dest");
    widgets::ProgressBar bar("bar");
    std::chrono::steady_clock::time_point now{};
    InstallPageView view(source, dest, bar, [&now] { return now; });
    view.SetProgressMax(100);
    view.ShowSource("a.txt");
    view.ShowDest("C:\\App");
    view.StepProgress();
    view.ShowSource("b.txt");
    view.StepProgress();
    EXPECT_EQ(source.Caption(), "a.txt");
    EXPECT_EQ(bar.Position(), 0);
    now += InstallPageView::kSpacing;
    view.ShowSource("c.txt");
    EXPECT_EQ(source.Caption(), "c.txt");
    EXPECT_EQ(dest.Caption(), "C:\\App");
    EXPECT_EQ(bar.Position(), 2);
    view.StepProgress();
    view.ShowSource("d.txt");
    EXPECT_EQ(source.Caption(), "c.txt");
    view.Flush();
    EXPECT_EQ(source.Caption(), "d.txt");
    EXPECT_EQ(bar.Position(), 3);
}

}  // namespace
}  // namespace kav::wizard::testing
