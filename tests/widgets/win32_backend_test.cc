// The Win32 back end under a real window system (Wine in the test runs).
#include "widgets/win32/win32_backend.h"

#include <gtest/gtest.h>

#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/radio.h"
#include "widgets/win32/window_readback.h"

namespace kav::widgets::win32 {
namespace {

class Win32BackendTest : public ::testing::Test {
protected:
    Win32Backend backend;
};

TEST_F(Win32BackendTest, ControlsMirrorTheirModelAndClicksReachTheModel) {
    Form form(backend, "wizard", "KAV32 - Setup");
    form.SetClientSize(433, 263);
    form.SetBorder(BorderStyle::Dialog);
    auto& page = form.Add<Panel>(nullptr, "Page5");
    page.SetBounds(0, 0, 433, 200);
    RadioGroup group;
    auto& launch = form.Add<RadioButton>(&page, "RadioButton1");
    auto& back = form.Add<RadioButton>(&page, "RadioButton2");
    group.Add(launch);
    group.Add(back);
    launch.SetBounds(10, 10, 200, 20);
    back.SetBounds(10, 40, 200, 20);
    launch.SetCaption("Launch Program after installed");
    back.SetChecked(true);
    auto& next = form.Add<Button>(nullptr, "next");
    next.SetCaption("&Next");
    next.SetBounds(300, 220, 75, 25);
    int clicks = 0;
    next.OnClick = [&] { ++clicks; };
    form.Show();

    EXPECT_TRUE(Inspect(launch).exists);
    EXPECT_EQ(Inspect(launch).text, "Launch Program after installed");
    EXPECT_TRUE(Inspect(back).checked);
    EXPECT_FALSE(Inspect(launch).checked);

    // A click on a window changes the model, which updates every window.
    PressButton(launch);
    EXPECT_TRUE(launch.Checked());
    EXPECT_TRUE(Inspect(launch).checked);
    EXPECT_FALSE(Inspect(back).checked);
    PressButton(next);
    EXPECT_EQ(clicks, 1);

    next.SetEnabled(false);
    EXPECT_FALSE(Inspect(next).enabled);
    page.SetVisible(false);
    EXPECT_FALSE(Inspect(page).visible);
    next.SetCaption("&Install");
    EXPECT_EQ(Inspect(next).text, "&Install");
}

TEST_F(Win32BackendTest, ARealOneShotTimerEndsAModalRun) {
    Form form(backend, "stage", "Preparing KAV Setup");
    form.SetClientSize(375, 92);
    form.SetPosition(FormPosition::ScreenCenter);
    Timer& timer = form.AddTimer("Timer1", 50);
    int fired = 0;
    form.OnShow = [&] { timer.SetEnabled(true); };
    timer.OnTimer = [&] {
        ++fired;
        form.SetModalResult(7);
        form.Close();
    };
    EXPECT_EQ(form.ShowModal(), 7);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(form.Visible());
}

TEST_F(Win32BackendTest, AnExceptionInAHandlerReachesTheCallerOfTheModalRun) {
    Form form(backend, "stage", "Stage");
    Timer& timer = form.AddTimer("Timer1", 10);
    form.OnShow = [&] { timer.SetEnabled(true); };
    timer.OnTimer = [] { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(form.ShowModal(), std::runtime_error);
    EXPECT_FALSE(form.InModalRun());
}

TEST_F(Win32BackendTest, ControlsOfADestroyedFormLoseTheirWindowsButNotTheirState) {
    RadioButton kept("reboot");
    {
        Form form(backend, "wizard", "W");
        form.Adopt(kept, nullptr);
        kept.SetBounds(10, 10, 150, 20);
        form.Show();
        EXPECT_TRUE(Inspect(kept).exists);
        PressButton(kept);
    }
    EXPECT_FALSE(Inspect(kept).exists);
    EXPECT_TRUE(kept.Checked());
}

}  // namespace
}  // namespace kav::widgets::win32
