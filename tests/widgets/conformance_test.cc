// The widget conformance suite: built once with the headless back end and
// once with the Win32 back end (run under Wine), the same forms and input
// must give the same results.
#include <gtest/gtest.h>

#include "platform/exception.h"
#include "ui_under_test.h"
#include "widgets/error_report.h"

namespace kav::widgets {
namespace {

class Conformance : public ::testing::Test {
protected:
    std::unique_ptr<testing::UiUnderTest> ui = testing::MakeUiUnderTest();
    std::vector<std::string> reports;

    void SetUp() override {
        ui->GetBackend().Errors().SetDisplay(
            [this](const std::string& m) { reports.push_back(m); });
    }
    // A dialog: an edit, a disabled and a hidden control, a check-list box,
    // OK (default) and Cancel (cancel) with their modal results.
    struct Dialog {
        Form form;
        Edit& edit;
        Button& disabled;
        CheckBox& hidden;
        CheckListBox& list;
        Button& ok;
        Button& cancel;

        explicit Dialog(Backend& backend)
            : form(backend, "TForm3", "Select Directory"),
              edit(form.Add<Edit>(nullptr, "Edit1")),
              disabled(form.Add<Button>(nullptr, "disabled")),
              hidden(form.Add<CheckBox>(nullptr, "hidden")),
              list(form.Add<CheckListBox>(nullptr, "DK")),
              ok(form.Add<Button>(nullptr, "BitBtn1")),
              cancel(form.Add<Button>(nullptr, "BitBtn2")) {
            form.SetClientSize(238, 296);
            edit.SetBounds(8, 8, 200, 21);
            disabled.SetBounds(8, 40, 75, 25);
            disabled.SetEnabled(false);
            hidden.SetBounds(8, 70, 75, 20);
            hidden.SetVisible(false);
            list.SetBounds(8, 100, 200, 100);
            for (const char* item : {"Tool", "Help", "Readme"}) list.Add(item);
            ok.SetBounds(40, 260, 75, 25);
            ok.SetCaption("&OK");
            ok.SetDefault(true);
            ok.SetResult(mrOk);
            cancel.SetBounds(120, 260, 75, 25);
            cancel.SetCaption("&Cancel");
            cancel.SetCancel(true);
            cancel.SetResult(mrCancel);
        }
    };
};

TEST_F(Conformance, TabAndShiftTabFollowTheControlsThatCanTakeTheFocus) {
    Dialog d(ui->GetBackend());
    d.form.Show();
    EXPECT_EQ(d.form.ActiveControl(), &d.edit);
    EXPECT_EQ(ui->ShownFocus(d.form), &d.edit);
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) {
        ui->PressKey(Key::Tab, d.form);
        order.push_back(d.form.ActiveControl()->Name());
        EXPECT_EQ(ui->ShownFocus(d.form), d.form.ActiveControl());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"DK", "BitBtn1", "BitBtn2", "Edit1"}));
    ui->PressKey(Key::Tab, d.form, true);
    EXPECT_EQ(d.form.ActiveControl(), &d.cancel);
    d.form.Hide();
}

TEST_F(Conformance, EnterAndEscapePressTheDefaultAndCancelButtonsAndEndTheModalRun) {
    Dialog d(ui->GetBackend());
    Timer& user = d.form.AddTimer("user", 20);
    Key key = Key::Enter;
    d.form.OnShow = [&] { user.SetEnabled(true); };
    user.OnTimer = [&] { ui->PressKey(key, d.form); };
    EXPECT_EQ(ModalResultName(d.form.ShowModal()), "OK");
    key = Key::Escape;
    EXPECT_EQ(ModalResultName(d.form.ShowModal()), "Cancel");
    // A close refused by OnClose keeps the form and clears the result.
    bool refuse = true;
    d.form.OnClose = [&](CloseAction& action) {
        if (refuse) action = CloseAction::None;
    };
    int presses = 0;
    user.OnTimer = [&] {
        ui->PressKey(Key::Enter, d.form);
        if (++presses == 1) {
            EXPECT_TRUE(d.form.Visible());
            EXPECT_EQ(d.form.ModalResult(), mrNone);
            refuse = false;
            user.SetEnabled(true);
        }
    };
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_EQ(presses, 2);
}

TEST_F(Conformance, ACheckListBoxTogglesByItsBoxOrTheSpaceBarNotBySelection) {
    Dialog d(ui->GetBackend());
    int checks = 0;
    d.list.OnClickCheck = [&] { ++checks; };
    d.form.Show();
    ui->ClickItemText(d.list, 1);
    EXPECT_EQ(d.list.ItemIndex(), 1);
    EXPECT_FALSE(d.list.Checked(1));
    ui->ClickItemBox(d.list, 2);
    EXPECT_TRUE(d.list.Checked(2));
    EXPECT_EQ(d.list.ItemIndex(), 2);
    ui->ClickItemBox(d.list, 2);
    EXPECT_FALSE(d.list.Checked(2));
    d.form.SetActiveControl(&d.list);
    ui->PressKey(Key::Space, d.form);
    EXPECT_TRUE(d.list.Checked(2));
    EXPECT_FALSE(d.list.Checked(0));
    EXPECT_EQ(checks, 3);
    d.form.Hide();
}

TEST_F(Conformance, TypedTextReachesTheEdit) {
    Dialog d(ui->GetBackend());
    int changes = 0;
    d.edit.OnChange = [&] { ++changes; };
    d.form.Show();
    ui->Type(d.form, "D:\\Tools");
    EXPECT_EQ(d.edit.Text(), "D:\\Tools");
    EXPECT_EQ(changes, 8);
    d.edit.SetText("C:\\Program Files");
    ui->Type(d.form, "x");
    EXPECT_EQ(d.edit.Text().substr(0, 16), "C:\\Program Files");
    EXPECT_EQ(d.edit.Text().size(), 17u);
    d.form.Hide();
}

TEST_F(Conformance, TimersFireWhileABusyHandlerProcessesMessages) {
    Dialog d(ui->GetBackend());
    Timer& timer = d.form.AddTimer("Timer1", 30);
    int fired = 0;
    timer.OnTimer = [&] { ++fired; };
    int rounds = 0;
    d.ok.SetResult(mrNone);
    d.ok.OnClick = [&] {
        timer.SetEnabled(true);
        while (fired == 0 && rounds < 2000) {
            ui->ProcessMessages();
            ++rounds;
        }
    };
    d.form.Show();
    ui->ClickButton(d.ok);
    EXPECT_EQ(fired, 1);
    EXPECT_GE(rounds, 3);  // not before the interval has passed
    d.form.Hide();
}

TEST_F(Conformance, TheProgramsOwnErrorsAreReportedAndTheLoopGoesOnFaultsLeaveIt) {
    Dialog d(ui->GetBackend());
    int clicks = 0;
    d.ok.SetResult(mrNone);
    d.ok.OnClick = [&] {
        ++clicks;
        throw kav::Exception("Cannot open file C:\\license.txt");
    };
    d.cancel.SetResult(mrNone);
    d.cancel.OnClick = [&] { d.form.Get<Label>("no such label"); };
    d.form.Show();
    ui->ClickButton(d.ok);
    ui->ClickButton(d.ok);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reports, (std::vector<std::string>(2, "Cannot open file C:\\license.txt")));
    EXPECT_TRUE(d.form.Visible());
    EXPECT_THROW(ui->ClickButton(d.cancel), std::logic_error);
    // The test switch: every exception leaves the loop.
    ui->GetBackend().Errors().SetRethrow(true);
    EXPECT_THROW(ui->ClickButton(d.ok), kav::Exception);
    EXPECT_EQ(reports.size(), 2u);
    d.form.Hide();
}

TEST_F(Conformance, PageDownAndPageUpScrollAFocusedMemoByAPage) {
    Dialog d(ui->GetBackend());
    auto& memo = d.form.Add<Memo>(nullptr, "Memo3");
    memo.SetBounds(8, 210, 200, 45);
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i) lines.push_back("License line " + std::to_string(i));
    memo.SetLines(lines);
    d.form.Show();
    d.form.SetActiveControl(&memo);
    const int page = memo.LinesPerPage();
    EXPECT_GE(page, 2);
    ui->PressKey(Key::PageDown, d.form);
    ui->PressKey(Key::PageDown, d.form);
    EXPECT_EQ(memo.TopLine(), 2 * page);
    ui->PressKey(Key::PageUp, d.form);
    EXPECT_EQ(memo.TopLine(), page);
    for (int i = 0; i < 40; ++i) ui->PressKey(Key::PageDown, d.form);
    EXPECT_EQ(memo.TopLine(), 40 - page);  // the last page, no further
    d.form.Hide();
}

}  // namespace
}  // namespace kav::widgets
