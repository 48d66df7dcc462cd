// Every way through the wizard's pages, the texts they show, the
// destination and the summary of the folders page.
#include <gtest/gtest.h>

#include "install/directory_table.h"
#include "install/script_entries.h"
#include "support/wizard_fixture.h"

namespace kav::wizard::testing {
namespace {

constexpr const char* kTwoLineLicence = "LICENCE TERMS\r\nYou may use it.\r\n";
const std::string kNoFolder = "Folder=\r\n";

using WizardPagesTest = WizardTest;

TEST_F(WizardPagesTest, ALicenceOfTwoLinesMustBeAcceptedAgainAfterBack) {
    WriteScript("");
    SetLicence(kTwoLineLicence);
    Run([&](TKAV& kav) {
        EXPECT_EQ(kav.PageIndex(), kWelcomePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{false, true, false}));
        EXPECT_EQ(kav.Memo3.Lines(),
                  (std::vector<std::string>{"LICENCE TERMS", "You may use it."}));
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kLicencePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, false}));
        EXPECT_EQ(kav.ActiveControl(), &kav.Memo3);  // Page Down reaches the licence
        kav.accept.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kLicencePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, false}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kWelcomePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{false, true, false}));
        kav.cancel.Click();
    });
}

class ShortLicenceTest : public WizardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShortLicenceTest, IsPassedOverBothWays) {
    WriteScript("");
    if (GetParam() != nullptr) SetLicence(GetParam());
    Run([&](TKAV& kav) {
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kWelcomePage);
        EXPECT_FALSE(kav.back.Enabled());
        kav.cancel.Click();
    });
}

INSTANTIATE_TEST_SUITE_P(NoneEmptyOrOneLine, ShortLicenceTest,
                         ::testing::Values(nullptr, "", "Only line\r\n"));

TEST_F(WizardPagesTest, NoFolderAndNoWorkStationPromptGoStraightToTheReadyPageAndBack) {
    WriteScript(kNoFolder);
    Run([&](TKAV& kav) {
        NextUntil(kav, kDestinationPage);
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kReadyPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, true}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, NoFolderWithTheWorkStationPromptShowsTheKindOfInstallBetween) {
    WriteScript(kNoFolder + "Work Station Prompt=1\r\n");
    Run([&](TKAV& kav) {
        EXPECT_TRUE(kav.min.Checked());
        NextUntil(kav, kDestinationPage);
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kInstallTypePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        kav.next.Click();
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kReadyPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, true}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kInstallTypePage);
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, AFolderWithoutTheWorkStationPromptPassesOverTheKindOfInstall) {
    WriteScript("Folder=Tools\r\n");
    Run([&](TKAV& kav) {
        EXPECT_TRUE(kav.full.Checked());
        NextUntil(kav, kFoldersPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.next.Click();
        EXPECT_EQ(kav.PageIndex(), kReadyPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, true}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kFoldersPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, SummaryListsDestinationFolderAndEveryDesktopEntry) {
    WriteScript("Install Dir=Tool\r\nAdd to Program Files=1\r\nFolder=Tools\r\n",
                {"Editor~<INSTALLDIR>\\edit.exe~X~X~<INSTALLDIR>\\edit.exe~Tools",
                 "Readme~<INSTALLDIR>\\readme.txt~X~~~Docs",
                 "Help~<INSTALLDIR>\\help.hlp~~X~~Tools", "Plain~plain.exe~x~~~Other"});
    Run([&](TKAV& kav) {
        NextUntil(kav, kFoldersPage);
        EXPECT_EQ(
            kav.Memo4.Lines(),
            (std::vector<std::string>{
                "Install to:", "  C:\\Program Files\\Tool", "", "File / Folder : ", "  Tools",
                "  \\edit.exe / Tools / Desktop / Start Meuu", "  \\readme.txt / Docs / Desktop",
                "  \\help.hlp / Tools / Start Meuu", "  plain.exe / Other"}));
        ASSERT_EQ(kav.DK.Count(), 2u);
        EXPECT_EQ(kav.DK.Items()[1].text, "Readme");
        ASSERT_EQ(kav.SM.Count(), 2u);
        EXPECT_EQ(kav.SM.Items()[1].text, "Help");
        // Unticked shortcuts are ticked again whenever the page is entered.
        kav.DK.Toggle(0);
        kav.SM.Toggle(1);
        kav.back.Click();
        kav.next.Click();
        EXPECT_TRUE(kav.DK.Checked(0));
        EXPECT_TRUE(kav.SM.Checked(1));
        EXPECT_EQ(kav.DK.Count(), 2u);  // rebuilt, not appended to
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, ThePassedOverFoldersPageStillRebuildsTheLists) {
    WriteScript(kNoFolder, {"Editor~<INSTALLDIR>\\edit.exe~X~X~~Tools"});
    Run([&](TKAV& kav) {
        NextUntil(kav, kReadyPage);
        ASSERT_EQ(kav.DK.Count(), 1u);
        kav.DK.Toggle(0);
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        EXPECT_FALSE(kav.DK.Checked(0));
        kav.next.Click();  // through page 3 to the ready page
        EXPECT_EQ(kav.PageIndex(), kReadyPage);
        EXPECT_TRUE(kav.DK.Checked(0));
        EXPECT_EQ(kav.Memo4.Lines().back(), "  \\edit.exe / Tools / Desktop / Start Meuu");
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, DestinationJoinsTheRootAndTheSettingAsWritten) {
    setup::InstallConfiguration config;
    config.InstallDir = "Tool";
    const std::string programFiles = "C:\\Program Files";
    EXPECT_EQ(install::DestinationDirectory(programFiles, "C:\\", config), "C:\\Tool");
    config.AddToProgramFiles = true;
    EXPECT_EQ(install::DestinationDirectory(programFiles, "C:\\", config),
              "C:\\Program Files\\Tool");
    config.InstallDir = "\\Tool\\";
    EXPECT_EQ(install::DestinationDirectory("D:\\Program Files", "D:\\", config),
              "D:\\Program Files\\\\Tool\\");
    config.InstallDir.clear();
    EXPECT_EQ(install::DestinationDirectory(programFiles, "C:\\", config), "C:\\Program Files\\");
}

// "Program Files" is the shell's: a 32-bit program on 64-bit Windows has
// its own, and the chooser starts there too.
TEST_F(WizardPagesTest, ProgramFilesIsTheShellsFolder) {
    machine_->shellFolders.folders[platform::ShellFolder::kProgramFiles] =
        "C:\\Program Files (x86)";
    WriteScript("Install Dir=Tool\r\nAdd to Program Files=1\r\nFolder=Tools\r\n");
    Run([&](TKAV& kav) {
        EXPECT_EQ(kav.Label1.Caption(), "C:\\Program Files (x86)\\Tool");
        EXPECT_EQ(chooser_->Edit1.Text(), "C:\\Program Files (x86)");
        kav.cancel.Click();
    });
    install::DirectoryBases bases{"C:\\WINDOWS", "C:\\", "C:\\T", "C:\\T", "D:\\Programme"};
    EXPECT_EQ(install::ResolveDirectory(install::DirectoryEntry::Parse("<PROGRAMFILES>"), bases),
              "D:\\Programme");
    EXPECT_EQ(
        install::ResolveDirectory(install::DirectoryEntry::Parse("<SUB1><PROGRAMFILES>~C"), bases),
        "D:\\Programme\\C");
}

TEST_F(WizardPagesTest, ASetupProgramToLaunchIsOnlyShownOnTheReadyPage) {
    WriteScript("Launch=<INSTALLDIR>\\SeTuP.exe\r\nFolder=\r\n");
    Run([&](TKAV& kav) {
        EXPECT_FALSE(run_.finalChoice.RadioButton1.Enabled());
        EXPECT_EQ(kav.Label2.Caption(), "");
        NextUntil(kav, kReadyPage);
        EXPECT_EQ(kav.Label2.Caption(), "\\SeTuP.exe");
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, ALaunchedProgramIsNamedInFullWhenShownAndByItsPathWhenReady) {
    WriteScript("Launch=<INSTALLDIR>\\tool.exe\r\n");
    Run([&](TKAV& kav) {
        EXPECT_TRUE(run_.finalChoice.RadioButton1.Checked());
        EXPECT_EQ(kav.Label2.Caption(), "<INSTALLDIR>\\tool.exe");
        NextUntil(kav, kReadyPage);
        EXPECT_EQ(kav.Label2.Caption(), "\\tool.exe");
        kav.cancel.Click();
    });
}

// Passed over, the welcome page leads to the licence when there is one and
// straight to the destination when there is none, from where Back returns
// to the welcome page.
TEST_F(WizardPagesTest, WithoutTheWarningScreenTheWizardOpensOnTheLicenceOnlyIfThereIsOne) {
    WriteScript("Show Warning Screen=0\r\n");
    Run([&](TKAV& kav) {
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, true, false}));
        kav.back.Click();
        EXPECT_EQ(kav.PageIndex(), kWelcomePage);
        kav.cancel.Click();
    });
    SetLicence("a\r\nb\r\n");
    Run([&](TKAV& kav) {
        EXPECT_EQ(kav.PageIndex(), kLicencePage);
        EXPECT_EQ(ButtonsOf(kav), (Buttons{true, false, false}));
        kav.accept.Click();
        EXPECT_EQ(kav.PageIndex(), kDestinationPage);
        kav.cancel.Click();
    });
}

TEST_F(WizardPagesTest, PagesShowTheirTextsWordForWord) {
    WriteScript("Install Dir=Tool\r\nFolder=My Tools\r\n");
    Run([&](TKAV& kav) {
        EXPECT_EQ(kav.Caption(), "KAV32 - Setup");
        EXPECT_EQ(kav.Width(), 433);
        EXPECT_EQ(kav.Height(), 263);
        EXPECT_EQ(kav.Memo1.Lines()[1],
                  "It is strongly recommended that you exit all windows programs");
        EXPECT_EQ(kav.Memo1.LineCount(), 15u);
        EXPECT_EQ(kav.Memo2.Lines().back(), "you can choose not to install by clicking cancel.");
        EXPECT_EQ(kav.Memo2.Lines()[4],
                  "To install to different directory, click browse and select ");
        EXPECT_EQ(kav.Label1.Caption(), "C:\\Tool");
        EXPECT_EQ(kav.CreateFolder.Caption(), "My Tools");
        EXPECT_EQ(kav.Notebook1.Page(kInstallTypePage).Caption(), "installtype");
        EXPECT_EQ(kav.CaptionBar().start, main_->MainScreen.FromColor());
        kav.cancel.Click();
    });
}

// A licence that cannot be shown cannot be accepted: the run ends
// abandoned, naming the file and the system's reason, and never installs.
TEST_F(WizardPagesTest, ALicenceThatCannotBeReadStopsTheRunSayingWhy) {
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder of that name" : "held open by another program");
        ui_.Messages().Clear();
        WriteScript("Show Re-Boot=1\r\n");
        SetLicence("a\r\nb\r\n");
        if (folder) {
            MakeLicenceAFolder();
        } else {
            HoldLicenceOpen();
        }
        bool userActed = false;
        Run([&](TKAV&) { userActed = true; });
        heldLicence_.reset();
        // A real machine's temporary directory outlives the test; clearing
        // it leaves folders.
        if (folder) Files().RemoveEmptyDirectory(Temp() + "\\license.txt");
        EXPECT_FALSE(userActed);
        EXPECT_TRUE(run_.cancelled);
        EXPECT_FALSE(kav_->InstallStarted());
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(
            messages[0].rfind(
                "The licence cannot be shown.\rCannot open file " + Temp() + "\\license.txt (", 0),
            0u)
            << messages[0];
        EXPECT_EQ(messages[0].back(), ')');
        EXPECT_EQ(messages[1], "Your installation was canceled!");
        EXPECT_TRUE(ui_.Errors().Reported().empty());
    }
}

TEST(DesktopEntryTest, MissingTrailingFieldsRepeatTheLastOne) {
    const install::DesktopEntry entry = install::DesktopEntry::Parse("Name~<A>prog~X");
    EXPECT_EQ(entry.name, "Name");
    EXPECT_TRUE(entry.onDesktop);
    EXPECT_TRUE(entry.inStartMenu);  // the desktop flag repeats
    EXPECT_EQ(entry.folder, "X");
    EXPECT_EQ(entry.SummaryLine(), "  prog / X / Desktop / Start Meuu");
}

}  // namespace
}  // namespace kav::wizard::testing
