// The component and form model on its own, shown through the headless back
// end.
#include <gtest/gtest.h>

#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/headless/headless_backend.h"
#include "widgets/notebook.h"
#include "widgets/radio.h"

namespace kav::widgets {
namespace {

using headless::HeadlessBackend;

TEST(RadioGroup, ExactlyOneStaysCheckedWhateverIsSet) {
    RadioGroup group;
    RadioButton a("a"), b("b"), c("c");
    a.SetChecked(true);
    b.SetChecked(true);
    group.Add(a);
    group.Add(b);  // a second checked button gives way
    group.Add(c);
    EXPECT_TRUE(a.Checked());
    EXPECT_FALSE(b.Checked());
    c.Click();
    EXPECT_EQ(group.CheckedButton(), &c);
    EXPECT_FALSE(a.Checked());
    // Unchecking passes the check on: first to the first other button...
    c.SetChecked(false);
    EXPECT_EQ(group.CheckedButton(), &a);
    // ...or to the fallback, when there is one.
    group.SetFallback(b);
    a.SetChecked(false);
    EXPECT_EQ(group.CheckedButton(), &b);
    // Unchecking one that is not checked changes nothing.
    c.SetChecked(false);
    EXPECT_EQ(group.CheckedButton(), &b);
}

TEST(RadioGroup, ButtonsAndGroupsMayGoInEitherOrder) {
    auto group = std::make_unique<RadioGroup>();
    RadioButton kept("kept");
    {
        RadioButton gone("gone");
        group->Add(gone);
        group->Add(kept);
        gone.SetChecked(true);
    }
    EXPECT_EQ(group->Buttons().size(), 1u);
    kept.SetChecked(false);  // alone in the group: simply unchecked
    EXPECT_FALSE(kept.Checked());
    group.reset();
    kept.SetChecked(true);
    EXPECT_EQ(kept.Group(), nullptr);
}

class FormTest : public ::testing::Test {
protected:
    HeadlessBackend ui;
};

TEST_F(FormTest, NotebookRaisesPageChangedOnlyForRealChanges) {
    Form form(ui, "f", "F");
    auto& book = form.Add<Notebook>(nullptr, "Notebook1");
    Panel& p0 = form.Add<Panel>(&book, "page1");
    Panel& p1 = form.Add<Panel>(&book, "Page2");
    book.AddPage(p0);
    book.AddPage(p1);
    std::vector<int> seen;
    book.OnPageChanged = [&] { seen.push_back(book.PageIndex()); };
    EXPECT_EQ(book.PageIndex(), 0);
    book.SetPageIndex(1);
    book.SetPageIndex(1);
    book.SetPageIndex(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
    EXPECT_TRUE(p0.Showing());
    EXPECT_FALSE(p1.Showing());
    EXPECT_THROW(book.SetPageIndex(2), std::out_of_range);
    EXPECT_THROW(book.SetPageIndex(-1), std::out_of_range);
    // A control on a hidden page is not showing, though visible itself.
    auto& onPage = form.Add<Label>(&p1, "label");
    EXPECT_TRUE(onPage.Visible());
    EXPECT_FALSE(onPage.Showing());
}

TEST_F(FormTest, ControlsAreFoundByNameAndTypeAndPlacedOnlyInContainers) {
    Form form(ui, "f", "F");
    auto& label = form.Add<Label>(nullptr, "Label1");
    auto& list = form.Add<CheckListBox>(nullptr, "DK");
    EXPECT_EQ(&form.Get<Label>("Label1"), &label);
    EXPECT_THROW(form.Get<Button>("Label1"), std::logic_error);
    EXPECT_THROW(form.Get<Label>("nothing"), std::logic_error);
    EXPECT_THROW(form.Add<Label>(&label, "inside"), std::logic_error);
    list.Add("Tool");
    list.Add("Help");
    list.Toggle(1);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(list.IndexOf("Help"), 1);
    EXPECT_EQ(list.IndexOf("help"), -1);
    EXPECT_THROW(list.Toggle(2), std::out_of_range);
}

TEST_F(FormTest, TheFocusedControlUsesItsKeysBeforeTheFormsRules) {
    Form form(ui, "f", "F");
    auto& edit = form.Add<Edit>(nullptr, "Edit1");
    auto& memo = form.Add<Memo>(nullptr, "Memo1");
    auto& box = form.Add<CheckBox>(nullptr, "CheckBox1");
    auto& list = form.Add<CheckListBox>(nullptr, "DK");
    auto& other = form.Add<Button>(nullptr, "BitBtn2");
    auto& ok = form.Add<Button>(nullptr, "BitBtn1");
    ok.SetDefault(true);
    std::vector<std::string> pressed;
    ok.OnClick = [&] { pressed.push_back("ok"); };
    other.OnClick = [&] { pressed.push_back("other"); };
    list.Add("Tool");
    form.Show();
    // Edits and memos keep the space bar; Enter goes on to the default
    // button, as it does from a check-list box.
    for (Control* keeper : {static_cast<Control*>(&edit), static_cast<Control*>(&memo),
                            static_cast<Control*>(&list)}) {
        form.SetActiveControl(keeper);
        EXPECT_FALSE(form.KeyDown(Key::Space)) << keeper->Name();
        EXPECT_TRUE(form.KeyDown(Key::Enter)) << keeper->Name();
    }
    EXPECT_FALSE(list.Checked(0));  // no item selected to toggle
    // A focused button takes Enter and the space bar from the default one;
    // the space bar toggles a check box.
    form.SetActiveControl(&other);
    EXPECT_TRUE(form.KeyDown(Key::Enter));
    EXPECT_TRUE(form.KeyDown(Key::Space));
    EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "ok", "ok", "other", "other"}));
    form.SetActiveControl(&box);
    EXPECT_TRUE(form.KeyDown(Key::Space));
    EXPECT_TRUE(box.Checked());
    EXPECT_FALSE(form.KeyDown(Key::PageDown));
}

TEST_F(FormTest, AdoptedControlsOutliveTheForm) {
    RadioButton choice("reboot");
    {
        Form form(ui, "wizard", "W");
        auto& page = form.Add<Panel>(nullptr, "Page5");
        form.Adopt(choice, &page);
        EXPECT_EQ(choice.Owner(), &form);
        EXPECT_THROW(form.Adopt(choice, nullptr), std::logic_error);
        choice.SetChecked(true);
    }
    EXPECT_EQ(choice.Owner(), nullptr);
    EXPECT_TRUE(choice.Checked());
    Form again(ui, "wizard2", "W");
    again.Adopt(choice, nullptr);
    EXPECT_EQ(choice.Owner(), &again);
}

TEST_F(FormTest, CloseRunsOnCloseWhichMayKeepTheFormOpen) {
    Form form(ui, "f", "F");
    int closes = 0;
    bool refuse = true;
    form.OnClose = [&](CloseAction& action) {
        ++closes;
        if (refuse) action = CloseAction::None;
    };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.Visible());
    refuse = false;
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closes, 2);
}

TEST_F(FormTest, ShowRunsOnShowEachTimeItBecomesVisible) {
    Form form(ui, "f", "F");
    int shows = 0;
    form.OnShow = [&] { ++shows; };
    form.Show();
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(shows, 2);
}

}  // namespace
}  // namespace kav::widgets
