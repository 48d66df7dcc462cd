#pragma once
// The small drawing surface that windowless controls paint themselves on.
// The back end places its origin at the control's top-left corner and clips
// it to the control's area before asking the control to paint: Win32 draws
// into the memory bitmap of the host window, headless into an RGB raster.
#include <cstddef>
#include <string>

#include "widgets/types.h"

namespace kav::widgets {

struct Picture;

struct TextExtent {
    int width = 0;
    int height = 0;  // the font's line height

    bool operator==(const TextExtent&) const = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void FillRect(const Bounds& area, Color color) = 0;
    // Fills the ellipse that touches the inside of `box`.
    virtual void FillEllipse(const Bounds& box, Color color) = 0;
    // One line of text with its top-left corner at (x, y), no background.
    virtual void DrawText(int x, int y, const std::string& text, const Font& font, Color color) = 0;
    virtual TextExtent MeasureText(const std::string& text, const Font& font) = 0;
    // One frame of a picture, unscaled, its top-left corner at (x, y);
    // transparent pixels leave what is below.
    virtual void DrawPicture(int x, int y, const Picture& picture, std::size_t frame) = 0;
    // The program's own icon (32 x 32) at (x, y).
    virtual void DrawProgramIcon(int x, int y) = 0;
};

}  // namespace kav::widgets
