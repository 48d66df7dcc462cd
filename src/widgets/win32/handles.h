#pragma once
// Owners for the handles the Win32 back end acquires, all through the
// platform layer's one owning handle template.
#include <windows.h>

#include "platform/win32/handles.h"

namespace kav::widgets::win32 {

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};

// Fonts, brushes and bitmaps.
template <class GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};

using WindowHandle = platform::UniqueHandle<WindowTraits>;
using FontHandle = platform::UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = platform::UniqueHandle<GdiObjectTraits<HBRUSH>>;
using BitmapHandle = platform::UniqueHandle<GdiObjectTraits<HBITMAP>>;
using MemoryDc = platform::UniqueHandle<MemoryDcTraits>;

// A device context borrowed from a window (or the screen, for null) and
// given back when the owner goes: the client area's, or with `wholeWindow`
// the frame and caption's too.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context until the owner goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace kav::widgets::win32
