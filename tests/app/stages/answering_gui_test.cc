// The dialogs of an unattended run: each question's default, the /ANSWER
// rules before it, the user when the run is attended, and the log's line
// for each with who answered.
#include "app/stages/answering_gui.h"

#include <gtest/gtest.h>

#include <vector>

#include "widgets/headless/headless_backend.h"

namespace kav::app {
namespace {

using widgets::headless::DialogButton;

struct Lines final : platform::EventLog {
    void Note(const std::string& event) override { lines.push_back(event); }
    std::vector<std::string> lines;
};

class AnsweringGuiTest : public ::testing::Test {
protected:
    widgets::headless::HeadlessBackend user_;
    WizardAnswers answers_;
    Lines log_;
};

TEST_F(AnsweringGuiTest, UnattendedDefaultsLoseNothingAndNothingIsShown) {
    AnsweringGui gui(user_, answers_, true, false, log_);
    EXPECT_FALSE(gui.AskYesNo("File Already Exists (a.txt). Overwrite?"));
    EXPECT_TRUE(gui.AskYesNo("Create New Directory for Installation [C:\\Tools] ?"));
    EXPECT_FALSE(gui.AskYesNo("Anything else?"));
    EXPECT_FALSE(gui.AskOkCancel("Unable to locate \"disk.002\" on this segment!"));
    EXPECT_EQ(gui.AskWarning("Abort Setup Process ?"), platform::WarningAnswer::No);
    std::string directory = "a:\\";
    EXPECT_FALSE(gui.InputQuery("Mount Segment #2", "Directory Path:", directory));
    EXPECT_EQ(directory, "a:\\");
    gui.ShowMessage("Error Expanding Files!!");
    EXPECT_TRUE(user_.Messages().Messages().empty());
    const std::vector<std::string> expected = {
        "question \"File Already Exists (a.txt). Overwrite?\": No (default)",
        "question \"Create New Directory for Installation [C:\\Tools] ?\": Yes (default)",
        "question \"Anything else?\": No (default)",
        "question \"Unable to locate \"disk.002\" on this segment!\": Cancel (default)",
        "question \"Abort Setup Process ?\": No (default)",
        "question \"Mount Segment #2: Directory Path:\": Cancel (default)",
        "message \"Error Expanding Files!!\"",
    };
    EXPECT_EQ(log_.lines, expected);
}

TEST_F(AnsweringGuiTest, UnattendedYieldsAtMostOncePerMillisecondOfWork) {
    std::int64_t now = 0;
    AnsweringGui unattended(user_, answers_, true, false, log_);
    unattended.SetClock([&] { return now; });
    for (int i = 0; i < 5; ++i) unattended.ProcessMessages();
    EXPECT_EQ(user_.ProcessMessagesCalls(), 1);
    now += AnsweringGui::kYieldSpacingUs - 1;
    unattended.ProcessMessages();
    EXPECT_EQ(user_.ProcessMessagesCalls(), 1);
    now += 1;
    unattended.ProcessMessages();
    unattended.ProcessMessages();
    EXPECT_EQ(user_.ProcessMessagesCalls(), 2);
    // Someone may be watching an attended run: every yield is passed on.
    AnsweringGui attended(user_, answers_, false, false, log_);
    attended.SetClock([&] { return now; });
    for (int i = 0; i < 5; ++i) attended.ProcessMessages();
    EXPECT_EQ(user_.ProcessMessagesCalls(), 7);
}

TEST_F(AnsweringGuiTest, RulesComeFirstAndTheUserAnswersAnAttendedRun) {
    answers_.questions.push_back({"File Already Exists*", "Yes"});
    answers_.questions.push_back({"Abort*", "OK"});  // no button of that box
    AnsweringGui gui(user_, answers_, false, false, log_);
    std::vector<std::string> answeredHere;
    gui.OnAnswered = [&](const std::string&, const std::string& text, const std::string& b) {
        answeredHere.push_back(text + " " + b);
    };
    user_.User().Answer(DialogButton::Abort);
    user_.User().Answer(DialogButton::No);
    EXPECT_TRUE(gui.AskYesNo("File Already Exists (a.txt). Overwrite?"));
    EXPECT_EQ(gui.AskWarning("Abort Setup Process ?"), platform::WarningAnswer::Abort);
    EXPECT_FALSE(gui.AskYesNo("Create New Directory for Installation [C:\\T] ?"));
    gui.ShowMessage("Done");
    EXPECT_EQ(answeredHere,
              std::vector<std::string>{"File Already Exists (a.txt). Overwrite? Yes"});
    ASSERT_EQ(user_.Messages().Messages().size(), 3u);
    EXPECT_EQ(user_.Messages().Messages().back().text, "Done");
    const std::vector<std::string> expected = {
        "question \"File Already Exists (a.txt). Overwrite?\": Yes (/ANSWER)",
        "the /ANSWER OK is no button of \"Abort Setup Process ?\"",
        "question \"Abort Setup Process ?\": Abort (user)",
        "question \"Create New Directory for Installation [C:\\T] ?\": No (user)",
        "message \"Done\"",
    };
    EXPECT_EQ(log_.lines, expected);
}

}  // namespace
}  // namespace kav::app
