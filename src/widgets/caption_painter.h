#pragma once
// The gradient caption bar of a secondary window, drawn the same way by
// every back end: bands from the start colour on the left to the end colour
// on the right, and the caption text over them, with a one-pixel shadow
// where the text colour alone would be hard to read on the bar.
#include <string>

#include "widgets/canvas.h"
#include "widgets/form.h"

namespace kav::widgets {

inline constexpr int kCaptionBands = 64;
inline constexpr int kCaptionTextIndent = 4;

// The colour of band `band` (0 .. kCaptionBands - 1) of the bar.
Color CaptionBandColor(const Form::CaptionGradient& colors, int band);
// True when text in `text` is hard to read on `background`: the ratio of
// their relative luminances (plus the usual 0.05 for ambient light) is
// below 3 to 1, the least that lets a short bold line be read.
bool TooLittleContrast(Color text, Color background);
// Paints the bar over (0, 0, width, height) of the canvas: the text starts
// a few pixels in, is centred in height and ends in "..." when it does not
// fit. If the text colour is hard to read on any band, the text is drawn
// first in the shadow colour one pixel down and to the right, as the main
// screen's header is.
void PaintCaptionBar(Canvas& canvas, int width, int height, const Form::CaptionGradient& colors,
                     const std::string& text, const Font& font);

}  // namespace kav::widgets
