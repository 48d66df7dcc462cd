#include "widgets/win32/caption_bar.h"

#include "platform/win32/wide.h"
#include "widgets/caption_painter.h"
#include "widgets/pixels.h"
#include "widgets/win32/handles.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {
namespace {

// The window's device context as a canvas whose text is always in the
// system's caption font, whatever font the painter names.
class CaptionCanvas final : public Canvas {
public:
    CaptionCanvas(HDC dc, HFONT font) : dc_(dc), font_(dc, font) { SetBkMode(dc, TRANSPARENT); }

    void FillRect(const Bounds& area, Color color) override {
        BrushHandle brush(CreateSolidBrush(ToColorRef(color)));
        const RECT r{area.left, area.top, area.left + area.width, area.top + area.height};
        ::FillRect(dc_, &r, brush.Get());
    }
    void FillEllipse(const Bounds&, Color) override {}
    void DrawText(int x, int y, const std::string& text, const Font&, Color color) override {
        SetTextColor(dc_, ToColorRef(color));
        TextOutW(dc_, x, y, platform::Wide(text).c_str(), static_cast<int>(text.size()));
    }
    TextExtent MeasureText(const std::string& text, const Font&) override {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        SIZE size{};
        if (!text.empty())
            GetTextExtentPoint32W(dc_, platform::Wide(text).c_str(), static_cast<int>(text.size()),
                                  &size);
        return TextExtent{size.cx, metrics.tmHeight};
    }
    void DrawPicture(int, int, const Picture&, std::size_t) override {}
    void DrawProgramIcon(int, int) override {}

private:
    HDC dc_;
    Selection font_;
};

bool ToolWindow(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

}  // namespace

RECT CaptionArea(HWND window) {
    RECT area{0, 0, 0, 0};
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION) return area;
    RECT frame{};
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const int height = GetSystemMetrics(ToolWindow(window) ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    const int border = client.x - frame.left;
    area.left = border;
    area.right = (frame.right - frame.left) - border;
    area.bottom = client.y - frame.top - 1;  // the line below the caption stays
    area.top = area.bottom - height;
    if (area.top < 0) area.top = 0;
    // The system's caption buttons stay visible.
    if (style & WS_SYSMENU) area.right -= height + 2;
    return area;
}

void PaintCaptionBar(HWND window, const Form::CaptionGradient& colors, const std::string& text) {
    const RECT area = CaptionArea(window);
    if (area.right <= area.left || area.bottom <= area.top) return;
    WindowDc dc(window, true);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    FontHandle font(CreateFontIndirectA(ToolWindow(window) ? &metrics.lfSmCaptionFont
                                                           : &metrics.lfCaptionFont));
    SetViewportOrgEx(dc.Get(), area.left, area.top, nullptr);
    IntersectClipRect(dc.Get(), 0, 0, area.right - area.left, area.bottom - area.top);
    CaptionCanvas canvas(dc.Get(), font.Get());
    widgets::PaintCaptionBar(canvas, area.right - area.left, area.bottom - area.top, colors, text,
                             Font{});
}

}  // namespace kav::widgets::win32
