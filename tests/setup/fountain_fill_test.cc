// The gradient painted on the headless raster: band rows and columns, the
// rounding of the band colours, the circles, the plain fill and the palette.
#include "setup/fountain_fill.h"

#include <gtest/gtest.h>

#include "widgets/headless/raster.h"

namespace kav::setup {
namespace {

using widgets::headless::Raster;
using widgets::headless::RasterCanvas;

Raster PaintOn(TFountainFill& fill, int width, int height) {
    fill.SetBounds(0, 0, width, height);
    Raster raster(width, height);
    RasterCanvas canvas(raster, {0, 0, width, height});
    fill.Paint(canvas);
    return raster;
}

int Blue(widgets::Color color) { return static_cast<int>((color >> 16) & 0xFF); }

TEST(FountainFill, HorizontalBandsOfTheMainScreenFallByOneBlueStepAtATime) {
    TFountainFill fill("MainScreen");
    fill.SetFromColor(widgets::clBlue);
    fill.SetToColor(widgets::clBlack);
    fill.SetSteps(255);
    const Raster r = PaintOn(fill, 40, 600);
    EXPECT_EQ(r.At(0, 0), 0xFF0000u);
    EXPECT_EQ(r.At(39, 1), 0xFF0000u);
    EXPECT_EQ(Blue(r.At(0, 2)), 254);
    EXPECT_EQ(Blue(r.At(0, 4)), 254);
    EXPECT_EQ(r.At(0, 598), 0u);
    EXPECT_EQ(r.At(0, 599), 0u);
    // Row by row the blue falls by one per band, exactly once by two.
    int twoStepDrops = 0;
    for (int y = 1; y < 600; ++y) {
        const int drop = Blue(r.At(0, y - 1)) - Blue(r.At(0, y));
        ASSERT_GE(drop, 0);
        ASSERT_LE(drop, 2);
        if (drop == 2) ++twoStepDrops;
    }
    EXPECT_EQ(twoStepDrops, 1);
}

TEST(FountainFill, StepsAreClampedAndFewStepsOrEqualColoursFillPlainly) {
    TFountainFill fill("f");
    EXPECT_EQ(fill.Width(), 50);
    EXPECT_EQ(fill.FromColor(), 0xFFFF00u);
    EXPECT_EQ(fill.Steps(), 20);
    fill.SetSteps(0);
    EXPECT_EQ(fill.Steps(), 1);
    fill.SetSteps(1000);
    EXPECT_EQ(fill.Steps(), 255);

    fill.SetFromColor(0x123456);
    fill.SetToColor(0x123456);
    EXPECT_TRUE(fill.Palette().empty());
    EXPECT_EQ(fill.Bands(10, 10).size(), 1u);
    fill.SetSteps(1);
    fill.SetToColor(0);
    const Raster r = PaintOn(fill, 10, 10);
    EXPECT_EQ(r.At(9, 9), 0x123456u);
}

TEST(FountainFill, VerticalBandsAndColoursRoundHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 255, 2), 128);
    EXPECT_EQ(MulDiv(-1, 255, 2), -128);
    EXPECT_EQ(ColorAt(0x0000FF, 0x000000, 3, 1), 0x00007Fu);  // 255 - 127.5 rounded away
    TFountainFill fill("f");
    fill.SetStyle(fsVertical);
    fill.SetFromColor(0x0000FF);
    fill.SetToColor(0x00FF00);
    fill.SetSteps(3);
    const Raster r = PaintOn(fill, 9, 2);
    EXPECT_EQ(r.At(0, 1), 0x0000FFu);
    EXPECT_EQ(r.At(3, 0), 0x00807Fu);  // red 127.5 down to 127, green 127.5 up to 128
    EXPECT_EQ(r.At(8, 1), 0x00FF00u);
}

TEST(FountainFill, CirclesStartFromTheDiagonalOutermostFirst) {
    TFountainFill fill("f");
    fill.SetStyle(fsCircular);
    fill.SetSteps(10);
    fill.SetFromColor(widgets::clBlue);
    fill.SetToColor(widgets::clWhite);
    const auto bands = fill.Bands(300, 400);
    ASSERT_EQ(bands.size(), 10u);
    EXPECT_EQ(bands.front().area, (widgets::Bounds{-100, -50, 500, 500}));
    EXPECT_EQ(bands.back().area.width, MulDiv(1, 500, 10));
    const Raster r = PaintOn(fill, 300, 400);
    EXPECT_EQ(r.At(0, 0), 0xFF0000u);      // only the outermost circle reaches the corner
    EXPECT_EQ(r.At(150, 200), 0xFFFFFFu);  // the innermost is To's colour
}

TEST(FountainFill, ThePaletteHoldsTheBandColoursAndIsRemadeOnChange) {
    TFountainFill fill("f");
    fill.SetFromColor(0x000000);
    fill.SetToColor(0x0000FF);
    fill.SetSteps(4);
    ASSERT_EQ(fill.Palette().size(), 4u);
    EXPECT_EQ(fill.Palette()[1], 0x000055u);
    EXPECT_EQ(fill.Bands(4, 4)[1].color, 0x000055u | kPaletteRelative);
    fill.SetSteps(5);
    EXPECT_FALSE(fill.HasPalette());
    EXPECT_EQ(fill.Palette().size(), 5u);
    fill.SetUsePalette(false);
    EXPECT_TRUE(fill.Palette().empty());
    EXPECT_EQ(fill.Bands(4, 4)[1].color & kPaletteRelative, 0u);
}

}  // namespace
}  // namespace kav::setup
