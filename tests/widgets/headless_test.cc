// The headless back end: simulated time, modal runs and the scripted user.
#include <gtest/gtest.h>

#include "platform/exception.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/headless/headless_backend.h"

namespace kav::widgets::headless {
namespace {

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessBackend ui;
};

TEST_F(HeadlessTest, TimersFireOnceInDueOrderAndAModalRunEndsWhenTheFormCloses) {
    Form form(ui, "stage", "Stage");
    Timer& slow = form.AddTimer("slow", 1000);
    Timer& fast = form.AddTimer("fast", 300);
    std::vector<std::string> fired;
    slow.OnTimer = [&] {
        fired.push_back("slow@" + std::to_string(ui.Clock()));
        form.Close();
    };
    fast.OnTimer = [&] { fired.push_back("fast@" + std::to_string(ui.Clock())); };
    form.OnShow = [&] {
        slow.SetEnabled(true);
        fast.SetEnabled(true);
    };
    form.ShowModal();
    EXPECT_EQ(fired, (std::vector<std::string>{"fast@300", "slow@1000"}));
    EXPECT_FALSE(slow.Enabled());
    EXPECT_FALSE(fast.Enabled());
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.InModalRun());
}

TEST_F(HeadlessTest, ADisabledTimerNeverFiresAndAnIdleFormIsClosedByTheUser) {
    Form form(ui, "idle", "Idle");
    Timer& t = form.AddTimer("t", 10);
    int fired = 0;
    int closes = 0;
    t.OnTimer = [&] { ++fired; };
    form.OnClose = [&](CloseAction&) { ++closes; };
    t.SetEnabled(true);
    t.SetEnabled(false);
    form.ShowModal();
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(closes, 1);
}

TEST_F(HeadlessTest, NestedModalRunsInsideATimerHandlerAndTheMainRun) {
    Form main(ui, "main", "Main");
    Form stage(ui, "stage", "Stage");
    Timer& start = main.AddTimer("Timer1", 1000);
    std::vector<std::string> steps;
    main.OnShow = [&] { start.SetEnabled(true); };
    start.OnTimer = [&] {
        steps.push_back("stage");
        stage.ShowModal();
        steps.push_back("after stage");
        main.Close();
    };
    ui.User().WhenShown("stage", [&](Form& f) {
        steps.push_back("user on " + f.Name());
        f.Get<Button>("ok").Click();
    });
    auto& ok = stage.Add<Button>(nullptr, "ok");
    ok.OnClick = [&] {
        stage.SetModalResult(1);
        stage.Close();
    };
    ui.Run(main);
    EXPECT_EQ(steps, (std::vector<std::string>{"stage", "user on stage", "after stage"}));
    EXPECT_EQ(stage.ModalResult(), 1);
    EXPECT_FALSE(main.Visible());
}

TEST_F(HeadlessTest, IdleActionPlaysOnceThenTheUserCloses) {
    Form form(ui, "wizard", "Wizard");
    auto& box = form.Add<CheckBox>(nullptr, "CheckBox1");
    ui.User().WhenIdle("wizard", [](Form& f) { f.Get<CheckBox>("CheckBox1").Click(); });
    form.ShowModal();
    EXPECT_TRUE(box.Checked());
    EXPECT_FALSE(form.Visible());
}

TEST_F(HeadlessTest, DialogsTakeScriptedAnswersInOrderOrTheirDefaults) {
    ui.User().Answer(DialogButton::No);
    ui.User().Answer(DialogButton::Abort);
    ui.User().Answer(DialogButton::Abort);  // not offered by a yes/no box: default
    ui.User().Type("D:\\Tools");
    ui.User().Answer(DialogButton::Cancel);
    EXPECT_FALSE(ui.AskYesNo("Overwrite?"));
    EXPECT_EQ(ui.AskWarning("Abort Setup Process ?"), platform::WarningAnswer::Abort);
    EXPECT_TRUE(ui.AskYesNo("Again?"));
    std::string dir = "C:\\Old";
    EXPECT_TRUE(ui.InputQuery("Directory", "Path:", dir));
    EXPECT_EQ(dir, "D:\\Tools");
    EXPECT_FALSE(ui.AskOkCancel("Insert disk"));
    // Script exhausted: the default buttons.
    EXPECT_EQ(ui.AskWarning("Abort Setup Process ?"), platform::WarningAnswer::No);
    EXPECT_TRUE(ui.InputQuery("Directory", "Path:", dir));
    EXPECT_EQ(dir, "D:\\Tools");
    ui.ShowMessage("Done");
    const auto& m = ui.Messages().Messages();
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(m[1].caption, "Warning");
    EXPECT_EQ(m[1].answer, "Abort");
    EXPECT_EQ(m[2].answer, "Yes");
    EXPECT_EQ(m[7].caption, "KAV - Setup");
    EXPECT_EQ(m[7].kind, MessageKind::Message);
    EXPECT_EQ(m[7].text, "Done");
}

TEST_F(HeadlessTest, TerminateEndsModalRunsAndNoDialogWaitsAnyMore) {
    Form form(ui, "stage", "Stage");
    Timer& t = form.AddTimer("t", 5);
    form.OnShow = [&] { t.SetEnabled(true); };
    t.OnTimer = [&] {
        ui.Terminate();
        t.SetEnabled(true);  // would fire forever if the run went on
    };
    ui.User().Answer(DialogButton::Yes);
    form.ShowModal();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(ui.Terminated());
    // Dialogs are no longer shown; questions answer as if cancelled, and
    // the scripted answer is not spent on them.
    EXPECT_FALSE(ui.AskYesNo("Continue?"));
    std::string value = "kept";
    EXPECT_FALSE(ui.InputQuery("c", "p", value));
    EXPECT_EQ(value, "kept");
    ui.ShowMessage("unseen");
    EXPECT_TRUE(ui.Messages().Messages().empty());
    EXPECT_TRUE(ui.User().NextReply().has_value());
}

TEST_F(HeadlessTest, MaximisedAndCentredFormsArePlacedOnTheScreen) {
    ui.SetScreenSize(800, 600);
    Form big(ui, "main", "Main");
    big.SetState(WindowState::Maximized);
    int resizes = 0;
    big.OnResize = [&] { ++resizes; };
    big.Show();
    EXPECT_EQ(big.Placement(), (Bounds{0, 0, 800, 600}));
    EXPECT_EQ(resizes, 1);
    Form dialog(ui, "dialog", "Dialog");
    dialog.SetClientSize(400, 200);
    dialog.SetPosition(FormPosition::ScreenCenter);
    dialog.Show();
    EXPECT_EQ(dialog.Placement(), (Bounds{200, 200, 400, 200}));
}

TEST_F(HeadlessTest, TheUserActsWhileTheProgramIsBusyAndAnswersDialogsByTheirText) {
    Form stage(ui, "TUnzip", "Preparing KAV Setup");
    Timer& start = stage.AddTimer("Timer1", 1000);
    bool cancelled = false;
    int steps = 0;
    std::uint64_t clockAtTwo = 0;
    stage.OnShow = [&] { start.SetEnabled(true); };
    stage.OnClick = [&] {
        if (ui.AskWarning("Abort Setup Process ?") == platform::WarningAnswer::Abort)
            cancelled = true;
    };
    start.OnTimer = [&] {
        // Long work that keeps the screen alive.
        while (!cancelled && steps < 100) {
            ++steps;
            ui.ProcessMessages();
        }
        stage.Close();
    };
    // The disk prompt comes first but is answered by the rule for its text,
    // not by the queued answer, which the abort question gets.
    ui.User().Answer(DialogButton::Abort);
    ui.User().AnswerWhen("Insert Disk", DialogButton::Cancel);
    ui.User().AtProcessMessages(
        3, [&] { EXPECT_FALSE(ui.AskOkCancel("Please Insert Disk #2 into Floppy Drive.")); });
    ui.User().AtTime(1020, [&] { clockAtTwo = ui.Clock(); });
    ui.User().AtProcessMessages(7, [&] { stage.ClickSurface(); });
    stage.ShowModal();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(clockAtTwo, 1020u);  // the timer fired at 1000, 10 ms per processing
    const auto& m = ui.Messages().Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].answer, "Cancel");
    EXPECT_EQ(m[1].answer, "Abort");
}

TEST_F(HeadlessTest, AUserWhoActsLaterWaitsForThatTimeBeforeTimersDueAfterIt) {
    Form form(ui, "wizard", "KAV32 - Setup");
    Timer& late = form.AddTimer("late", 3000);
    std::vector<std::string> seen;
    form.OnShow = [&] { late.SetEnabled(true); };
    late.OnTimer = [&] { seen.push_back("timer@" + std::to_string(ui.Clock())); };
    ui.User().AtTime(2000, [&] { seen.push_back("user@" + std::to_string(ui.Clock())); });
    ui.User().AtTime(5000, [&] {
        seen.push_back("close@" + std::to_string(ui.Clock()));
        form.SetModalResult(mrOk);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(seen, (std::vector<std::string>{"user@2000", "timer@3000", "close@5000"}));
}

TEST_F(HeadlessTest, AnErrorInAHandlerIsReportedAndTheRunGoesOn) {
    Form form(ui, "main", "Main");
    Timer& first = form.AddTimer("first", 10);
    Timer& second = form.AddTimer("second", 20);
    form.OnShow = [&] {
        first.SetEnabled(true);
        second.SetEnabled(true);
    };
    first.OnTimer = [] { throw kav::Exception("Cannot create file C:\\WINDOWS\\Temp\\q"); };
    bool secondFired = false;
    second.OnTimer = [&] {
        secondFired = true;
        form.Close();
    };
    ui.Run(form);
    EXPECT_TRUE(secondFired);
    ASSERT_EQ(ui.Messages().Messages().size(), 1u);
    const auto& report = ui.Messages().Messages()[0];
    EXPECT_EQ(report.kind, MessageKind::Error);
    EXPECT_EQ(report.caption, "KAV - Setup");
    EXPECT_EQ(report.text, "Cannot create file C:\\WINDOWS\\Temp\\q");
    // A fault of the program is not a message for the user.
    Form other(ui, "other", "Other");
    other.OnShow = [&] { other.Get<Button>("missing"); };
    EXPECT_THROW(other.ShowModal(), std::logic_error);
}

}  // namespace
}  // namespace kav::widgets::headless
