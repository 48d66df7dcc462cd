// Painting through the portable canvas, seen on the headless raster.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "widgets/caption_painter.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/headless/headless_backend.h"

namespace kav::widgets {
namespace {

using headless::HeadlessBackend;
using headless::Raster;
using headless::RasterCanvas;

constexpr Color kGreen = 0x00FF00;

// A picture of `w` x `h` in one colour per frame (0xAARRGGBB).
std::shared_ptr<const Picture> Frames(int w, int h, std::vector<Argb> colours, unsigned delayMs,
                                      int repeats) {
    auto p = std::make_shared<Picture>();
    p->width = w;
    p->height = h;
    p->repeats = repeats;
    for (Argb c : colours) {
        p->frames.push_back(
            PictureFrame{std::vector<Argb>(static_cast<std::size_t>(w * h), c), delayMs});
    }
    return p;
}

class PaintingTest : public ::testing::Test {
protected:
    HeadlessBackend ui;
    Form form{ui, "f", "F"};

    void SetUp() override {
        form.SetClientSize(200, 100);
        form.SetColor(clBlue);
    }
};

TEST_F(PaintingTest, AShadowedTransparentLabelDrawsItsShadowFirstAndSizesItselfToItsText) {
    form.SetClientSize(500, 100);
    auto& label = form.Add<Label>(nullptr, "Setup_Header");
    label.SetLeft(10);
    label.SetTop(5);
    label.SetCaption("KAV - Zephyrin 32Bit v1.0");
    label.SetFont(Font{"Impact", 26, clBlack});
    label.SetShadowColor(clWhite);
    label.SetShadowSize(2);
    label.SetTransparent(true);
    const TextExtent text = ui.MeasureText(label.Caption(), label.GetFont());
    // The whole text and its shadow fit: nothing is cut short.
    EXPECT_EQ(label.Width(), text.width + 2);
    EXPECT_EQ(label.Height(), text.height + 2);

    const Raster r = ui.Capture(form);
    // Find the first glyph's top-left pixel in the text colour; the shadow
    // shows 2 pixels further down and right, outside the glyph's overlap.
    int gx = -1, gy = -1;
    for (int y = 5; y < 5 + label.Height() && gx < 0; ++y) {
        for (int x = 10; x < 10 + label.Width(); ++x) {
            if (r.At(x, y) == clBlack) {
                gx = x;
                gy = y;
                break;
            }
        }
    }
    ASSERT_GE(gx, 0) << "no text drawn";
    EXPECT_EQ(r.At(gx + 3, gy + 3), clBlack);  // the text lies over its shadow
    EXPECT_EQ(r.At(gx - 1, gy), clBlue);       // transparent: the form shows
    // The shadow's bottom-right corner sticks out below the text's.
    int bottom = gy;
    while (r.At(gx, bottom + 1) == clBlack) ++bottom;
    EXPECT_EQ(r.At(gx + 2, bottom + 2), clWhite);
    EXPECT_EQ(r.At(gx + 2, bottom + 3), clBlue);
}

TEST_F(PaintingTest, LaterWindowlessControlsLieOverEarlierOnesAndChildWindowsOverAll) {
    auto& back = form.Add<Label>(nullptr, "back");
    back.SetAutoSize(false);
    back.SetBounds(0, 0, 50, 50);
    back.SetColor(clRed);
    auto& front = form.Add<Image>(nullptr, "front");
    front.SetBounds(20, 20, 50, 50);
    front.SetPicture(Frames(10, 10, {0xFF00FF00}, 100, 0));
    front.SetTransparent(false);
    front.SetColor(clWhite);
    auto& panel = form.Add<Panel>(nullptr, "panel");
    panel.SetBounds(40, 40, 30, 30);
    panel.SetColor(clBlack);
    panel.SetBeveled(true);

    const Raster r = ui.Capture(form);
    EXPECT_EQ(r.At(5, 5), clRed);
    EXPECT_EQ(r.At(25, 25), kGreen);     // the picture, unscaled from the corner
    EXPECT_EQ(r.At(35, 25), clWhite);    // the rest of an opaque picture control
    EXPECT_EQ(r.At(45, 45), clBlack);    // the panel's window over both
    EXPECT_EQ(r.At(40, 45), 0xFFFFFFu);  // raised bevel: highlight left
    EXPECT_EQ(r.At(69, 45), 0x808080u);  // and shadow right
    EXPECT_EQ(r.At(150, 50), clBlue);

    front.SetVisible(false);
    EXPECT_EQ(ui.Capture(form).At(25, 25), clRed);
}

TEST_F(PaintingTest, AGroupBoxDrawsAnEtchedFrameBrokenByItsCaption) {
    auto& group = form.Add<GroupBox>(nullptr, "group");
    group.SetBounds(10, 10, 120, 60);
    group.SetCaption(" Destination  Directory ");
    const int top = 10 + ui.MeasureText("", group.GetFont()).height / 2;
    const Raster r = ui.Capture(form);
    EXPECT_EQ(r.At(10, 40), 0x808080u);  // shadow line, then highlight inside it
    EXPECT_EQ(r.At(11, 40), 0xFFFFFFu);
    EXPECT_EQ(r.At(12, 40), 0xC0C0C0u);   // the group's own colour
    EXPECT_EQ(r.At(5, top), clBlue);      // outside: the form
    EXPECT_EQ(r.At(13, top), 0x808080u);  // the frame's top before the caption
    EXPECT_NE(r.At(40, top), 0x808080u);  // broken where the caption is
}

TEST_F(PaintingTest, AnAnimationPlaysWhileShownAndStopsWhenItsLoopsAreDone) {
    auto& gif = form.Add<Image>(nullptr, "Image3");
    gif.SetBounds(0, 0, 4, 4);
    gif.SetAnimate(true);
    gif.SetPicture(Frames(4, 4, {0xFFFF0000, 0xFF00FF00}, 100, 1));
    form.Show();
    EXPECT_EQ(gif.Frame(), 0u);
    for (int i = 0; i < 10; ++i) ui.ProcessMessages();  // 100 ms
    EXPECT_EQ(gif.Frame(), 1u);
    EXPECT_EQ(ui.Capture(form).At(1, 1), kGreen);
    for (int i = 0; i < 10; ++i) ui.ProcessMessages();
    EXPECT_EQ(gif.Frame(), 0u);  // the one repeat
    for (int i = 0; i < 10; ++i) ui.ProcessMessages();
    EXPECT_EQ(gif.Frame(), 1u);
    for (int i = 0; i < 30; ++i) ui.ProcessMessages();
    EXPECT_EQ(gif.Frame(), 1u);  // played out: the last frame stays

    gif.SetPicture(Frames(4, 4, {0xFFFF0000, 0xFF00FF00}, 100, -1));
    gif.SetVisible(false);
    for (int i = 0; i < 30; ++i) ui.ProcessMessages();
    EXPECT_EQ(gif.Frame(), 0u);  // hidden: waits
}

TEST_F(PaintingTest, TheRasterIsWrittenAsABitmapThatTheLoaderReadsBack) {
    auto& label = form.Add<Label>(nullptr, "l");
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 10, 100);
    label.SetColor(clRed);
    const std::string path = ::testing::TempDir() + "kav_raster.bmp";
    ui.Capture(form).WriteBmp(path);
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const Picture p = DecodePicture(bytes.data(), bytes.size());
    EXPECT_EQ(p.width, 200);
    EXPECT_EQ(p.height, 100);
    EXPECT_EQ(p.At(0, 5, 99), 0xFFFF0000u);
    EXPECT_EQ(p.At(0, 150, 0), 0xFF0000FFu);
    std::remove(path.c_str());
}

TEST(BreakLines, WrapsBetweenWordsAndAtLineBreaks) {
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()); };
    EXPECT_EQ(BreakLines("Setup is preparing\rPlease Standby.", 0, measure),
              (std::vector<std::string>{"Setup is preparing", "Please Standby."}));
    EXPECT_EQ(BreakLines("aa bb cc dddddd", 5, measure),
              (std::vector<std::string>{"aa bb", "cc", "dddddd"}));
}

}  // namespace
}  // namespace kav::widgets

namespace kav::widgets {
namespace {

// The wizard's design colours: black text on a blue-to-black bar is
// unreadable alone, so it gets the header's white shadow; white text on the
// same bar needs none.
TEST(CaptionBarPainting, TextHardToReadOnTheBarGetsAOnePixelShadowInTheShadowColour) {
    const Font font{"MS Sans Serif", 8, clBlack};
    auto paint = [&](Color text, Color shadow) {
        Raster r(200, 18);
        RasterCanvas canvas(r, Bounds{0, 0, 200, 18});
        PaintCaptionBar(canvas, 200, 18, Form::CaptionGradient{true, clBlue, clBlack, text, shadow},
                        "KAV32 - Setup", font);
        return r;
    };
    const Raster dark = paint(clBlack, clWhite);
    EXPECT_EQ(dark.At(0, 9), clBlue);
    EXPECT_EQ(dark.At(199, 9), clBlack);
    // The first glyph's text pixels, and its shadow out below and right.
    int gx = -1, gy = -1;
    for (int y = 0; y < 18 && gx < 0; ++y)
        for (int x = kCaptionTextIndent; x < 20 && gx < 0; ++x)
            if (dark.At(x, y) == clBlack) gx = x, gy = y;
    ASSERT_GE(gx, 0) << "no text drawn";
    int bottom = gy;
    while (dark.At(gx, bottom + 1) == clBlack) ++bottom;
    EXPECT_EQ(dark.At(gx + 1, bottom + 1), clWhite);

    const Raster light = paint(clWhite, clRed);
    int shadowPixels = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 200; ++x) shadowPixels += light.At(x, y) == clRed;
    EXPECT_EQ(shadowPixels, 0);
    EXPECT_TRUE(TooLittleContrast(clBlack, clBlue));
    EXPECT_FALSE(TooLittleContrast(clWhite, clBlue));
}

}  // namespace
}  // namespace kav::widgets
