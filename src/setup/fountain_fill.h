#pragma once
// The main screen's background gradient. A graphic control: it has no window
// of its own and is painted on its form, every pixel of its area.
#include <cstdint>
#include <string>
#include <vector>

#include "widgets/control.h"

namespace kav::setup {

enum TFountainStyle { fsHorizontal, fsVertical, fsCircular };

// `a` * `b` / `c` rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

// The colour of band `i` of `n` (n >= 2) between two plain RGB colours: each
// channel moves from `from` to `to` in n - 1 rounded steps.
widgets::Color ColorAt(widgets::Color from, widgets::Color to, int n, int i);

// Marks a colour as an entry of the logical palette in use.
inline constexpr widgets::Color kPaletteRelative = 0x02000000;

class TFountainFill : public widgets::GraphicControl {
public:
    explicit TFountainFill(std::string name);

    void Paint(widgets::Canvas& canvas) const override;

    widgets::Color FromColor() const { return fromColor_; }
    void SetFromColor(widgets::Color color);
    widgets::Color ToColor() const { return toColor_; }
    void SetToColor(widgets::Color color);
    // 1 to 255; smaller values are stored as 1, larger ones as 255.
    int Steps() const { return steps_; }
    void SetSteps(int steps);
    TFountainStyle Style() const { return style_; }
    void SetStyle(TFountainStyle style);
    // Every back end paints off-screen and copies the result in one
    // operation; drawing directly only matters where that cannot be done.
    bool DrawOnScreen() const { return drawOnScreen_; }
    void SetDrawOnScreen(bool drawOnScreen) { drawOnScreen_ = drawOnScreen; }
    bool UsePalette() const { return usePalette_; }
    void SetUsePalette(bool usePalette);

    // The logical palette the next paint uses: the band colours, made on
    // demand and dropped when the colours, steps or palette use change.
    // Empty when no palette is used (one band, equal colours, or none wanted).
    const std::vector<widgets::Color>& Palette() const;
    bool HasPalette() const { return paletteMade_; }

    // One band's shape: a rectangle, or for fsCircular the bounding square
    // of a filled circle.
    struct Band {
        widgets::Bounds area;
        widgets::Color color;
    };
    // What a paint of a `width` x `height` area fills, in order. A single
    // band covering everything when there are fewer than two steps or the
    // colours are equal.
    std::vector<Band> Bands(int width, int height) const;
    bool IsPlainFill() const;

private:
    void Repaint();
    void DropPalette();

    widgets::Color fromColor_ = 0xFFFF00;
    widgets::Color toColor_ = 0;
    int steps_ = 20;
    TFountainStyle style_ = fsHorizontal;
    bool drawOnScreen_ = false;
    bool usePalette_ = true;
    mutable std::vector<widgets::Color> palette_;
    mutable bool paletteMade_ = false;
};

}  // namespace kav::setup
