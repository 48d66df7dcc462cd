#include "widgets/win32/gdi_canvas.h"

#include <map>
#include <utility>

#include "platform/win32/wide.h"
#include "widgets/pixels.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {
namespace {

constexpr int kPointsPerInch = 72;

std::string FontKey(const Font& font) { return font.name + "/" + std::to_string(font.size); }

TextExtent Measure(HDC dc, const std::string& text) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE size{};
    if (!text.empty())
        GetTextExtentPoint32W(dc, platform::Wide(text).c_str(), static_cast<int>(text.size()),
                              &size);
    return TextExtent{size.cx, metrics.tmHeight};
}

// The texts are code page 1252 whatever the system's code page, so a face is
// asked for in its Western character set.
FontHandle CreateWesternFont(int height, const char* face) {
    return FontHandle(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

bool IsWestern(HDC dc, HFONT font) {
    Selection selected(dc, font);
    return GetTextCharset(dc) == ANSI_CHARSET;
}

// A raster face such as "MS Sans Serif" exists on a Cyrillic or Greek system
// only in that system's character set, which has no é, ü or ß: there the
// text is drawn in the TrueType face of the same design, which carries them.
constexpr char kWesternFallbackFace[] = "Microsoft Sans Serif";

// The font the model describes, at the screen's resolution.
FontHandle CreateModelFont(const Font& font) {
    WindowDc screen(nullptr);
    const int height = -MulDiv(font.size, GetDeviceCaps(screen.Get(), LOGPIXELSY), kPointsPerInch);
    FontHandle wanted = CreateWesternFont(height, font.name.c_str());
    if (wanted.Get() == nullptr || IsWestern(screen.Get(), wanted.Get())) return wanted;
    FontHandle fallback = CreateWesternFont(height, kWesternFallbackFace);
    return fallback.Get() != nullptr ? std::move(fallback) : std::move(wanted);
}

}  // namespace

HFONT SharedFont(const Font& font) {
    // One GUI thread; the fonts stay until the program ends.
    static std::map<std::string, FontHandle> fonts;
    FontHandle& handle = fonts[FontKey(font)];
    if (!handle) handle = CreateModelFont(font);
    return handle.Get();
}

TextExtent MeasureOnScreen(const std::string& text, const Font& font) {
    WindowDc screen(nullptr);
    Selection selected(screen.Get(), SharedFont(font));
    return Measure(screen.Get(), text);
}

GdiCanvas::GdiCanvas(HDC reference, int width, int height)
    : dc_(CreateCompatibleDC(reference)),
      width_(width),
      height_(height),
      area_{0, 0, width, height} {
    if (!dc_ || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top, like the raster
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    bits_ = static_cast<Argb*>(bits);
    previousBitmap_ = SelectObject(dc_.Get(), bitmap_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
    if (previousBitmap_ != nullptr) SelectObject(dc_.Get(), previousBitmap_);
}

void GdiCanvas::SetArea(const Bounds& area) {
    area_ = area;
    SetViewportOrgEx(dc_.Get(), area.left, area.top, nullptr);
    SelectClipRgn(dc_.Get(), nullptr);
    IntersectClipRect(dc_.Get(), 0, 0, area.width, area.height);
}

void GdiCanvas::FillRect(const Bounds& area, Color color) {
    BrushHandle brush(CreateSolidBrush(ToColorRef(color)));
    const RECT r{area.left, area.top, area.left + area.width, area.top + area.height};
    ::FillRect(dc_.Get(), &r, brush.Get());
}

void GdiCanvas::FillEllipse(const Bounds& box, Color color) {
    BrushHandle brush(CreateSolidBrush(ToColorRef(color)));
    Selection selectedBrush(dc_.Get(), brush.Get());
    Selection noPen(dc_.Get(), GetStockObject(NULL_PEN));
    // Without a pen the ellipse fills one pixel less: the box grows by one.
    Ellipse(dc_.Get(), box.left, box.top, box.left + box.width + 1, box.top + box.height + 1);
}

void GdiCanvas::DrawText(int x, int y, const std::string& text, const Font& font, Color color) {
    Selection selected(dc_.Get(), SharedFont(font));
    SetTextColor(dc_.Get(), ToColorRef(color));
    TextOutW(dc_.Get(), x, y, platform::Wide(text).c_str(), static_cast<int>(text.size()));
}

TextExtent GdiCanvas::MeasureText(const std::string& text, const Font& font) {
    Selection selected(dc_.Get(), SharedFont(font));
    return Measure(dc_.Get(), text);
}

void GdiCanvas::DrawPicture(int x, int y, const Picture& picture, std::size_t frame) {
    if (bits_ == nullptr) return;
    GdiFlush();  // what GDI drew so far must be in the pixels first
    const Bounds clip = Intersect(area_, Bounds{0, 0, width_, height_});
    BlendFrame(PixelSurface{bits_, width_, height_}, clip, x + area_.left, y + area_.top, picture,
               frame);
}

void GdiCanvas::DrawProgramIcon(int x, int y) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (icon == nullptr) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    DrawIconEx(dc_.Get(), x, y, icon, 32, 32, 0, nullptr, DI_NORMAL);
}

}  // namespace kav::widgets::win32
