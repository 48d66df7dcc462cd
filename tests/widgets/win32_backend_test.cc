// The Win32 back end under a real window system (Wine in the test runs).
#include "widgets/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_files.h"
#include "platform/exception.h"
#include "widgets/canvas.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/headless/headless_backend.h"
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

TEST_F(Win32BackendTest, APreparedFormHasItsWindowsHiddenAndKeptCurrentUntilShown) {
    Form form(backend, "wizard", "W");
    auto& next = form.Add<Button>(nullptr, "next");
    next.SetBounds(10, 10, 75, 25);
    form.Prepare();
    EXPECT_TRUE(Inspect(next).exists);
    EXPECT_FALSE(Active(form));
    next.SetCaption("&Next");
    form.Show();
    EXPECT_TRUE(Active(form));
    EXPECT_EQ(Inspect(next).text, "&Next");
}

}  // namespace
}  // namespace kav::widgets::win32

namespace kav::widgets::win32 {
namespace {

// A band gradient painted through the canvas, as the main screen's is.
class Bands final : public GraphicControl {
public:
    explicit Bands(std::string name) : GraphicControl(std::move(name)) {}
    void Paint(Canvas& canvas) const override {
        for (int i = 0; i < 10; ++i) {
            const auto red = static_cast<Color>(255 - i * 25);
            canvas.FillRect(Bounds{0, Height() * i / 10, Width(), Height() / 10 + 1}, red);
        }
    }
};

// The same form on any back end: a gradient, a shadowed transparent label
// and a GIF with a transparent pixel.
struct PaintedForm {
    Form form;
    explicit PaintedForm(Backend& backend) : form(backend, "painted", "Painted") {
        form.SetBorder(BorderStyle::None);
        form.SetClientSize(300, 200);
        form.SetColor(clBlue);
        auto& bands = form.Add<Bands>(nullptr, "MainScreen");
        bands.SetBounds(0, 0, 300, 200);
        auto& label = form.Add<Label>(nullptr, "Setup_Header");
        label.SetBounds(20, 20, 0, 0);
        label.SetCaption("I          I");
        label.SetFont(Font{"Arial", 20, clBlack});
        label.SetShadowColor(clWhite);
        label.SetShadowSize(2);
        label.SetTransparent(true);
        auto& gif = form.Add<Image>(nullptr, "Image3");
        gif.SetBounds(200, 120, 40, 40);
        gif.SetAutoSize(true);
        const auto bytes = testing::MakeGif(
            4, 4, {0x00FF00, 0xFFFF00, 0, 0},
            {testing::GifFrame{
                0, 0, 4, 4, {0, 0, 1, 1, 0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}, 10, 2}});
        gif.SetPicture(std::make_shared<const Picture>(DecodePicture(bytes.data(), bytes.size())));
    }
};

bool Near(Color a, Color b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > 8 || d < -8) return false;
    }
    return true;
}

TEST_F(Win32BackendTest, AFormCapturedFromItsWindowLooksLikeItsHeadlessRaster) {
    headless::HeadlessBackend headless;
    PaintedForm model(headless);
    const headless::Raster expected = headless.Capture(model.form);

    PaintedForm shown(backend);
    shown.form.Show();
    backend.ProcessMessages();
    const headless::Raster seen = CaptureWindow(shown.form);
    ASSERT_EQ(seen.Width(), expected.Width());
    ASSERT_EQ(seen.Height(), expected.Height());
    const Label& label = shown.form.Get<Label>("Setup_Header");
    const Label& modelLabel = model.form.Get<Label>("Setup_Header");
    const std::vector<std::pair<int, int>> points{
        {5, 5},
        {150, 10},
        {290, 195},
        {100, 110},
        {10, 150},  // bands
        {200, 120},
        {202, 121},
        {203, 123},
        {201, 126},  // picture
        {210, 130},  // beside it
        {label.Left() + label.Width() / 2, label.Top() + label.Height() / 2},
        {modelLabel.Left() + modelLabel.Width() / 2, modelLabel.Top() + modelLabel.Height() / 2},
    };
    for (const auto& [x, y] : points) {
        EXPECT_TRUE(Near(seen.At(x, y), expected.At(x, y)))
            << "at " << x << "," << y << ": window " << std::hex << seen.At(x, y) << ", raster "
            << expected.At(x, y);
    }
    // The label is really there: its text and shadow colours show.
    bool black = false, white = false;
    for (int y = label.Top(); y < label.Top() + label.Height(); ++y) {
        for (int x = label.Left(); x < label.Left() + label.Width(); ++x) {
            black = black || seen.At(x, y) == clBlack;
            white = white || seen.At(x, y) == clWhite;
        }
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(white);
    if (const char* dir = std::getenv("KAV_CAPTURE_DIR")) {
        seen.WriteBmp(std::string(dir) + "/painted-window.bmp");
        expected.WriteBmp(std::string(dir) + "/painted-raster.bmp");
    }
}

TEST_F(Win32BackendTest, SecondaryWindowsAreOwnedByTheWindowThatShowsThemAndGiveActivationBack) {
    Form main(backend, "main", "Main");
    main.SetClientSize(400, 300);
    Form dialog(backend, "TForm3", "Select Directory");
    dialog.SetClientSize(238, 296);
    dialog.SetBorder(BorderStyle::Dialog);
    dialog.SetStayOnTop(true);
    Timer& start = main.AddTimer("Timer1", 10);
    Timer& close = dialog.AddTimer("close", 10);
    bool owned = false, topMost = false, activeAfter = false;
    main.OnShow = [&] { start.SetEnabled(true); };
    start.OnTimer = [&] {
        dialog.ShowModal();
        backend.ProcessMessages();
        activeAfter = Active(main);
        main.Close();
    };
    dialog.OnShow = [&] { close.SetEnabled(true); };
    close.OnTimer = [&] {
        owned = OwnedBy(dialog, main);
        topMost = TopMost(dialog);
        dialog.Close();
    };
    backend.Run(main);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(topMost);
    EXPECT_TRUE(activeAfter);
}

TEST_F(Win32BackendTest, AClickOnAWindowlessControlReachesItAndTheSurfaceElseAndErrorsAreReported) {
    std::vector<std::string> reports;
    backend.Errors().SetDisplay([&](const std::string& m) { reports.push_back(m); });
    Form form(backend, "TUnzip", "Preparing KAV Setup");
    form.SetClientSize(375, 92);
    auto& icon = form.Add<Image>(nullptr, "Image1");
    icon.SetAutoSize(true);
    icon.SetLeft(300);
    icon.ShowProgramIcon();
    int iconClicks = 0, surfaceClicks = 0;
    icon.OnClick = [&] { ++iconClicks; };
    form.OnClick = [&] {
        ++surfaceClicks;
        throw kav::Exception("Abort Setup Process ?");
    };
    form.Show();
    PostClick(icon, 5, 5);
    PostClickOnForm(form, 10, 10);
    backend.ProcessMessages();
    EXPECT_EQ(iconClicks, 1);
    EXPECT_EQ(surfaceClicks, 1);
    EXPECT_EQ(reports, (std::vector<std::string>{"Abort Setup Process ?"}));
    EXPECT_EQ(icon.Width(), 32);
}

}  // namespace
}  // namespace kav::widgets::win32

namespace kav::widgets::win32 {
namespace {

TEST_F(Win32BackendTest, AGradientCaptionBarRunsBetweenItsColoursWhileTheWindowIsActive) {
    Form form(backend, "TUnzip", "Preparing KAV Setup");
    form.SetClientSize(375, 92);
    form.SetBorder(BorderStyle::ToolWindow);
    form.SetCaptionBar(Form::CaptionGradient{true, clRed, clBlue, clWhite});
    form.Show();
    backend.ProcessMessages();
    ASSERT_TRUE(Active(form));
    EXPECT_EQ(CaptionColorAt(form, 0.0), clRed);
    EXPECT_EQ(CaptionColorAt(form, 1.0), clBlue);
    // Colours set while the window exists reach it.
    form.SetCaptionBar(Form::CaptionGradient{true, clBlack, clWhite, clRed});
    backend.ProcessMessages();
    EXPECT_EQ(CaptionColorAt(form, 0.0), clBlack);
}

TEST_F(Win32BackendTest, AControlAskingForTheHandShowsItWhileTheMouseIsOverIt) {
    Form form(backend, "TMainSetup", "KAV 32Bit Installer");
    form.SetBorder(BorderStyle::None);
    form.SetClientSize(200, 100);
    auto& notice = form.Add<Label>(nullptr, "Setup_Copyright");
    notice.SetAutoSize(false);
    notice.SetBounds(0, 80, 200, 13);
    notice.SetMousePointer(Pointer::HandPoint);
    form.Show();
    backend.ProcessMessages();
    EXPECT_TRUE(HandPointerAt(form, 100, 85));
    EXPECT_FALSE(HandPointerAt(form, 100, 20));
}

}  // namespace
}  // namespace kav::widgets::win32

namespace kav::widgets::win32 {
namespace {

TEST_F(Win32BackendTest, AnAnimatedPictureAdvancesOnARealTimerAndIsRepainted) {
    Form form(backend, "TUnzip", "Preparing KAV Setup");
    form.SetBorder(BorderStyle::None);
    form.SetClientSize(100, 60);
    auto& gif = form.Add<Image>(nullptr, "RxGIFAnimator1");
    gif.SetBounds(10, 10, 32, 32);
    gif.SetAnimate(true);
    const auto bytes =
        testing::MakeGif(4, 4, {0xFF0000, 0x00FF00, 0, 0},
                         {testing::GifFrame{0, 0, 4, 4, std::vector<std::uint8_t>(16, 0), 5},
                          testing::GifFrame{0, 0, 4, 4, std::vector<std::uint8_t>(16, 1), 5}},
                         0);
    gif.SetPicture(std::make_shared<const Picture>(DecodePicture(bytes.data(), bytes.size())));
    form.Show();
    for (int i = 0; i < 200 && gif.Frame() == 0; ++i) {
        Sleep(2);
        backend.ProcessMessages();
    }
    ASSERT_EQ(gif.Frame(), 1u);
    EXPECT_EQ(CaptureWindow(form).At(11, 11), 0x00FF00u);
}

}  // namespace
}  // namespace kav::widgets::win32
