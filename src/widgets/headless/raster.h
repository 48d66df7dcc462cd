#pragma once
// The headless back end's picture of a window: an in-memory RGB raster that
// tests read pixels from and can write out as a BMP file, and the canvas
// that draws into it.
#include <string>
#include <vector>

#include "widgets/canvas.h"
#include "widgets/painter.h"
#include "widgets/pixels.h"

namespace kav::widgets::headless {

class Raster {
public:
    Raster(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour at (x, y) as a plain RGB value (red in the lowest byte).
    Color At(int x, int y) const;
    PixelSurface Surface() { return PixelSurface{pixels_.data(), width_, height_}; }
    // Writes a 24-bit BMP file.
    void WriteBmp(const std::string& path) const;

private:
    int width_;
    int height_;
    std::vector<Argb> pixels_;
};

// The headless font metrics: a character cell as high as the font's pixel
// height plus a quarter for the line's leading, and half as wide.
TextExtent HeadlessTextExtent(const std::string& text, const Font& font);

// Draws one window's surface into the raster: `window` is where the window
// lies on the raster, and drawing never leaves it.
class RasterCanvas final : public WindowCanvas {
public:
    RasterCanvas(Raster& raster, const Bounds& window)
        : raster_(raster), window_(window), area_(window) {}

    void SetArea(const Bounds& area) override;

    void FillRect(const Bounds& area, Color color) override;
    void FillEllipse(const Bounds& box, Color color) override;
    void DrawText(int x, int y, const std::string& text, const Font& font, Color color) override;
    TextExtent MeasureText(const std::string& text, const Font& font) override {
        return HeadlessTextExtent(text, font);
    }
    void DrawPicture(int x, int y, const Picture& picture, std::size_t frame) override;
    // There is no program icon without Windows: nothing is drawn.
    void DrawProgramIcon(int, int) override {}

private:
    void Fill(const Bounds& local, Argb pixel);

    Raster& raster_;
    Bounds window_;
    Bounds area_;  // the control being painted, on the raster
};

}  // namespace kav::widgets::headless
