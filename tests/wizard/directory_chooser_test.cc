// Browse on the destination page: the chooser's list and edit box, and the
// question before a changed destination is taken.
#include <gtest/gtest.h>

#include "support/wizard_fixture.h"

namespace kav::wizard::testing {
namespace {

const std::string kQuestionStart = "Create New Directory for Installation [";

class DirectoryChooserTest : public WizardTest {
protected:
    // Destinations lie on the system drive: on the real machine what a test
    // makes there is removed again.
    void MakeDirectory(const std::string& path) {
        ASSERT_TRUE(Files().MakeDirectory(path));
        made_.push_back(path);
    }
    void TearDown() override {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) Files().RemoveEmptyDirectory(*it);
        WizardTest::TearDown();
    }
    std::vector<std::string> made_;

    // Browse, with `chooser` acting on the chooser; returns the
    // destination afterwards.
    std::string Browse(const std::function<void(TForm3&)>& chooser,
                       const std::string& script = "Install Dir=Tool\r\n") {
        WriteScript(script);
        ui_.User().WhenShown("Form3", [&](widgets::Form&) { chooser(*chooser_); });
        std::string destination;
        Run([&](TKAV& kav) {
            NextUntil(kav, kDestinationPage);
            kav.browse.Click();
            destination = kav.Label1.Caption();
            kav.cancel.Click();
        });
        return destination;
    }
    std::vector<std::string> Questions() const {
        std::vector<std::string> asked;
        for (const std::string& m : Messages()) {
            if (m.rfind(kQuestionStart, 0) == 0) asked.push_back(m);
        }
        return asked;
    }
};

TEST_F(DirectoryChooserTest, OkWithoutAChangeAsksNothingForAMissingDestination) {
    EXPECT_EQ(Browse([](TForm3& f) {
                  EXPECT_EQ(f.Edit1.Text(), "C:\\Tool");
                  f.BitBtn1.Click();
              }),
              "C:\\Tool");
    EXPECT_TRUE(Questions().empty());
}

TEST_F(DirectoryChooserTest, ATypedPathAnsweredYesBecomesTheDestinationUncreated) {
    ui_.User().AnswerWhen(kQuestionStart, widgets::headless::DialogButton::Yes);
    EXPECT_EQ(Browse([](TForm3& f) {
                  f.Edit1.SetText("D:\\New Place\\");
                  f.KeyDown(widgets::Key::Enter);
              }),
              "D:\\New Place\\");
    EXPECT_EQ(
        Questions(),
        (std::vector<std::string>{"Create New Directory for Installation [D:\\New Place\\] ?"}));
    EXPECT_FALSE(Files().DirectoryExists("D:\\New Place"));
}

TEST_F(DirectoryChooserTest, APickedDirectoryAnsweredNoLeavesTheDestination) {
    MakeDirectory("C:\\Picked");
    ui_.User().AnswerWhen(kQuestionStart, widgets::headless::DialogButton::No);
    EXPECT_EQ(Browse([](TForm3& f) {
                  ASSERT_TRUE(f.OpenDirectory("C:\\"));
                  const int item = f.DirectoryListBox1.IndexOf("  Picked");
                  ASSERT_GE(item, 0);
                  f.DirectoryListBox1.SetItemIndex(item);
                  f.DirectoryListBox1.DblClick();
                  EXPECT_EQ(f.Edit1.Text(), "C:\\Picked");
                  f.BitBtn1.Click();
              }),
              "C:\\Tool");
    EXPECT_EQ(Questions(),
              (std::vector<std::string>{"Create New Directory for Installation [C:\\Picked] ?"}));
}

// A destination the installer would refuse is refused where it is chosen:
// Next keeps the user on the destination page, the chooser stays open with
// the reason and asks nothing, and the summary shows the folder taken.
TEST_F(DirectoryChooserTest, ARefusedDestinationKeepsThePageAndTheChooserOpen) {
    ui_.User().AnswerWhen(kQuestionStart, widgets::headless::DialogButton::Yes);
    WriteScript("Install Dir=WINDOWS\\SYSTEM\r\n");
    bool chooserStayedOpen = false;
    ui_.User().WhenShown("Form3", [&](widgets::Form&) {
        chooser_->Edit1.SetText("\\\\?\\C:\\windows\\system");
        chooser_->BitBtn1.Click();
        chooserStayedOpen = chooser_->ModalResult() == widgets::mrNone;
        chooser_->Edit1.SetText("C:\\Tool");
        chooser_->BitBtn1.Click();
    });
    int refusedOn = -1;
    std::size_t refusals = 0;
    std::string summary;
    Run([&](TKAV& kav) {
        NextUntil(kav, kDestinationPage);
        kav.next.Click();
        refusedOn = kav.PageIndex();
        kav.browse.Click();
        for (const std::string& m : Messages()) {
            refusals += m.find("choose a directory of its own") != std::string::npos ? 1 : 0;
        }
        NextUntil(kav, kReadyPage);
        summary = kav.Memo4.Lines().at(1);
        kav.cancel.Click();
    });
    EXPECT_EQ(refusedOn, kDestinationPage);
    EXPECT_TRUE(chooserStayedOpen);
    EXPECT_EQ(refusals, 2u);
    EXPECT_EQ(Questions(),
              (std::vector<std::string>{"Create New Directory for Installation [C:\\Tool] ?"}));
    EXPECT_EQ(summary, "  C:\\Tool");
}

TEST_F(DirectoryChooserTest, CancelKeepsTheDestinationWhateverWasTyped) {
    EXPECT_EQ(Browse([](TForm3& f) {
                  f.Edit1.SetText("C:\\Elsewhere");
                  f.KeyDown(widgets::Key::Escape);
              }),
              "C:\\Tool");
    EXPECT_TRUE(Questions().empty());
}

TEST_F(DirectoryChooserTest,
       AnExistingDestinationIsShownInTheListsOwnSpellingWhichCountsAsAChange) {
    MakeDirectory("C:\\Tool");
    ui_.User().AnswerWhen(kQuestionStart, widgets::headless::DialogButton::Yes);
    EXPECT_EQ(Browse(
                  [](TForm3& f) {
                      EXPECT_EQ(f.ListDirectory(), "C:\\Tool");
                      EXPECT_EQ(f.Edit1.Text(), "C:\\Tool");
                      EXPECT_EQ(f.DirectoryListBox1.Items()[0], "C:\\");
                      EXPECT_EQ(f.ActiveControl(), &f.BitBtn1);
                      f.BitBtn1.Click();
                  },
                  "Install Dir=Tool\\\r\n"),
              "C:\\Tool");
    EXPECT_EQ(Questions(),
              (std::vector<std::string>{"Create New Directory for Installation [C:\\Tool] ?"}));
}

TEST_F(DirectoryChooserTest, AMissingDestinationLeavesTheListWhereItWas) {
    EXPECT_EQ(Browse([&](TForm3& f) {
                  // Where the program was when the chooser was made.
                  EXPECT_EQ(f.ListDirectory(), set_);
                  EXPECT_EQ(f.Edit1.Text(), "C:\\Tool");
                  f.BitBtn2.Click();
              }),
              "C:\\Tool");
    EXPECT_EQ(chooser_->ListDirectory(), set_);
}

TEST_F(DirectoryChooserTest, ChoosingADriveShowsItsRootAndTheLevelsAboveAreOpenedByDoubleClick) {
    if (!Simulated()) GTEST_SKIP() << "needs a drive D: to write to";
    MakeDirectory("C:\\Tool");
    MakeDirectory("C:\\Tool\\Sub");
    MakeDirectory("D:\\Data");
    Browse(
        [](TForm3& f) {
            EXPECT_EQ(f.DirectoryListBox1.Items(),
                      (std::vector<std::string>{"C:\\", "  Tool", "    Sub"}));
            const int d = f.DriveComboBox1.IndexOf("d:");
            ASSERT_GE(d, 0);
            f.DriveComboBox1.SetItemIndex(d);
            EXPECT_EQ(f.Edit1.Text(), "D:\\");
            EXPECT_EQ(f.DirectoryListBox1.Items(), (std::vector<std::string>{"D:\\", "  Data"}));
            f.DirectoryListBox1.SetItemIndex(1);
            f.DirectoryListBox1.DblClick();
            f.DirectoryListBox1.SetItemIndex(0);
            f.DirectoryListBox1.DblClick();
            EXPECT_EQ(f.Edit1.Text(), "D:\\");
            f.BitBtn2.Click();
        },
        "Install Dir=Tool\r\n");
}

}  // namespace
}  // namespace kav::wizard::testing
