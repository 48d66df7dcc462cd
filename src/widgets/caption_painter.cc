#include "widgets/caption_painter.h"

#include <cmath>

#include "widgets/pixels.h"

namespace kav::widgets {
namespace {

int Channel(Color c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

double RelativeLuminance(Color color) {
    const Color rgb = ResolveSystemColor(color);
    auto linear = [&](int shift) {
        const double v = Channel(rgb, shift) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(0) + 0.7152 * linear(8) + 0.0722 * linear(16);
}

// The longest start of `text` that fits `room` pixels, marked with "..."
// when it had to be cut.
std::string Fitted(Canvas& canvas, const std::string& text, const Font& font, int room) {
    if (canvas.MeasureText(text, font).width <= room) return text;
    std::string cut = text;
    while (!cut.empty() && canvas.MeasureText(cut + "...", font).width > room) cut.pop_back();
    return cut + "...";
}

}  // namespace

Color CaptionBandColor(const Form::CaptionGradient& colors, int band) {
    const Color start = ResolveSystemColor(colors.start);
    const Color end = ResolveSystemColor(colors.end);
    Color c = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int v = Channel(start, shift) +
                      (Channel(end, shift) - Channel(start, shift)) * band / (kCaptionBands - 1);
        c |= static_cast<Color>(v) << shift;
    }
    return c;
}

bool TooLittleContrast(Color text, Color background) {
    const double a = RelativeLuminance(text) + 0.05;
    const double b = RelativeLuminance(background) + 0.05;
    return (a > b ? a / b : b / a) < 3.0;
}

void PaintCaptionBar(Canvas& canvas, int width, int height, const Form::CaptionGradient& colors,
                     const std::string& text, const Font& font) {
    bool shadow = false;
    for (int i = 0; i < kCaptionBands; ++i) {
        const Color band = CaptionBandColor(colors, i);
        canvas.FillRect(Bounds{width * i / kCaptionBands, 0,
                               width * (i + 1) / kCaptionBands - width * i / kCaptionBands, height},
                        band);
        shadow = shadow || TooLittleContrast(colors.text, band);
    }
    const std::string shown =
        Fitted(canvas, text, font, width - kCaptionTextIndent - (shadow ? 1 : 0));
    const int y = (height - canvas.MeasureText(shown, font).height) / 2;
    if (shadow) canvas.DrawText(kCaptionTextIndent + 1, y + 1, shown, font, colors.shadow);
    canvas.DrawText(kCaptionTextIndent, y, shown, font, colors.text);
}

}  // namespace kav::widgets
