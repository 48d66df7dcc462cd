#include "widgets/win32/caption_bar.h"

#include "widgets/pixels.h"
#include "widgets/win32/handles.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {
namespace {

constexpr int kBands = 64;
constexpr int kTextIndent = 4;

int Channel(Color c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

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
    const Color start = ResolveSystemColor(colors.start);
    const Color end = ResolveSystemColor(colors.end);
    const int width = area.right - area.left;
    for (int i = 0; i < kBands; ++i) {
        Color c = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int v = Channel(start, shift) +
                          (Channel(end, shift) - Channel(start, shift)) * i / (kBands - 1);
            c |= static_cast<Color>(v) << shift;
        }
        BrushHandle brush(CreateSolidBrush(c));
        const RECT band{area.left + width * i / kBands, area.top,
                        area.left + width * (i + 1) / kBands, area.bottom};
        FillRect(dc.Get(), &band, brush.Get());
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    FontHandle font(CreateFontIndirectA(ToolWindow(window) ? &metrics.lfSmCaptionFont
                                                           : &metrics.lfCaptionFont));
    Selection selected(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), ToColorRef(colors.text));
    RECT textArea = area;
    textArea.left += kTextIndent;
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace kav::widgets::win32
