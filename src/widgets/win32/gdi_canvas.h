#pragma once
// The canvas of a window's surface on Win32: a top-down 32-bit DIB section
// selected into a memory device context, so that a whole surface is drawn
// off-screen and copied in one operation (no flicker), and pictures are
// blended into its pixels by the same code as on the headless raster.
#include <windows.h>

#include <string>

#include "widgets/painter.h"
#include "widgets/pixels.h"
#include "widgets/win32/handles.h"

namespace kav::widgets::win32 {

// The font the model describes, made once for the whole program: under Wine
// each new font is matched against the installed faces again.
HFONT SharedFont(const Font& font);
// The size of `text` in `font` on the screen.
TextExtent MeasureOnScreen(const std::string& text, const Font& font);

class GdiCanvas final : public WindowCanvas {
public:
    // A surface of `width` x `height` pixels compatible with `reference`.
    GdiCanvas(HDC reference, int width, int height);
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;
    ~GdiCanvas() override;

    HDC Dc() const { return dc_.Get(); }
    bool Valid() const { return bits_ != nullptr; }

    void SetArea(const Bounds& area) override;
    void FillRect(const Bounds& area, Color color) override;
    void FillEllipse(const Bounds& box, Color color) override;
    void DrawText(int x, int y, const std::string& text, const Font& font, Color color) override;
    TextExtent MeasureText(const std::string& text, const Font& font) override;
    void DrawPicture(int x, int y, const Picture& picture, std::size_t frame) override;
    void DrawProgramIcon(int x, int y) override;

private:
    MemoryDc dc_;
    BitmapHandle bitmap_;
    HGDIOBJ previousBitmap_ = nullptr;
    Argb* bits_ = nullptr;
    int width_;
    int height_;
    Bounds area_;
};

}  // namespace kav::widgets::win32
