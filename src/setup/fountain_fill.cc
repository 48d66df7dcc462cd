#include "setup/fountain_fill.h"

#include <cmath>
#include <cstdint>

#include "widgets/canvas.h"
#include "widgets/pixels.h"

namespace kav::setup {
namespace {

constexpr int kDefaultSide = 50;

int Channel(widgets::Color color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude =
        (std::llabs(product) + std::llabs(divisor) / 2) / std::llabs(divisor);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

widgets::Color ColorAt(widgets::Color from, widgets::Color to, int n, int i) {
    widgets::Color result = 0;
    for (int shift : {0, 8, 16}) {
        const int start = Channel(from, shift);
        const int channel = start + MulDiv(i, Channel(to, shift) - start, n - 1);
        result |= static_cast<widgets::Color>(channel & 0xFF) << shift;
    }
    return result;
}

TFountainFill::TFountainFill(std::string name) : GraphicControl(std::move(name)) {
    SetBounds(0, 0, kDefaultSide, kDefaultSide);
}

void TFountainFill::Repaint() { Changed(widgets::Property::Color); }

void TFountainFill::DropPalette() {
    palette_.clear();
    paletteMade_ = false;
}

void TFountainFill::SetFromColor(widgets::Color color) {
    if (color == fromColor_) return;
    fromColor_ = color;
    DropPalette();
    Repaint();
}

void TFountainFill::SetToColor(widgets::Color color) {
    if (color == toColor_) return;
    toColor_ = color;
    DropPalette();
    Repaint();
}

void TFountainFill::SetSteps(int steps) {
    steps = steps < 1 ? 1 : (steps > 255 ? 255 : steps);
    if (steps == steps_) return;
    steps_ = steps;
    DropPalette();
    Repaint();
}

void TFountainFill::SetStyle(TFountainStyle style) {
    if (style == style_) return;
    style_ = style;
    Repaint();
}

void TFountainFill::SetUsePalette(bool usePalette) {
    if (usePalette == usePalette_) return;
    usePalette_ = usePalette;
    DropPalette();
    Repaint();
}

bool TFountainFill::IsPlainFill() const {
    return steps_ < 2 ||
           widgets::ResolveSystemColor(fromColor_) == widgets::ResolveSystemColor(toColor_);
}

const std::vector<widgets::Color>& TFountainFill::Palette() const {
    if (usePalette_ && !paletteMade_) {
        paletteMade_ = true;
        if (!IsPlainFill()) {
            const auto from = widgets::ResolveSystemColor(fromColor_);
            const auto to = widgets::ResolveSystemColor(toColor_);
            for (int i = 0; i < steps_; ++i) palette_.push_back(ColorAt(from, to, steps_, i));
        }
    }
    return palette_;
}

std::vector<TFountainFill::Band> TFountainFill::Bands(int width, int height) const {
    const auto from = widgets::ResolveSystemColor(fromColor_);
    if (IsPlainFill()) return {Band{{0, 0, width, height}, from}};
    const auto to = widgets::ResolveSystemColor(toColor_);
    const bool palette = usePalette_ && !Palette().empty();
    const int n = steps_;
    // The circles' largest diameter: the diagonal, rounded half to even.
    const int diagonal = static_cast<int>(std::nearbyint(
        std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height) +
        0.5));
    std::vector<Band> bands;
    bands.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        widgets::Color color = ColorAt(from, to, n, i);
        if (palette) color |= kPaletteRelative;
        widgets::Bounds area;
        switch (style_) {
            case fsHorizontal: {
                const int top = MulDiv(i, height, n);
                area = {0, top, width, MulDiv(i + 1, height, n) - top};
                break;
            }
            case fsVertical: {
                const int left = MulDiv(i, width, n);
                area = {left, 0, MulDiv(i + 1, width, n) - left, height};
                break;
            }
            case fsCircular: {
                const int d = MulDiv(n - i, diagonal, n);
                area = {width / 2 - d / 2, height / 2 - d / 2, d, d};
                break;
            }
        }
        bands.push_back({area, color});
    }
    return bands;
}

void TFountainFill::Paint(widgets::Canvas& canvas) const {
    for (const Band& band : Bands(Width(), Height())) {
        if (style_ == fsCircular && !IsPlainFill()) {
            canvas.FillEllipse(band.area, band.color);
        } else {
            canvas.FillRect(band.area, band.color);
        }
    }
}

}  // namespace kav::setup
