#include "widgets/win32/window_readback.h"

#include <windows.h>

#include "platform/win32/wide.h"
#include "widgets/form.h"
#include "widgets/win32/caption_bar.h"
#include "widgets/win32/handles.h"
#include "widgets/win32/win32_backend.h"

namespace kav::widgets::win32 {
namespace {

WPARAM VirtualKey(Key key) {
    switch (key) {
        case Key::Tab:
            return VK_TAB;
        case Key::Enter:
            return VK_RETURN;
        case Key::Escape:
            return VK_ESCAPE;
        case Key::Space:
            return VK_SPACE;
        case Key::PageUp:
            return VK_PRIOR;
        case Key::PageDown:
            return VK_NEXT;
    }
    return 0;
}

// The window a windowless control is painted on.
HWND HostOf(const Control& control) {
    if (HWND own = Win32Backend::WindowOf(control)) return own;
    if (control.Parent() != nullptr) return Win32Backend::WindowOf(*control.Parent());
    return control.Owner() != nullptr ? Win32Backend::WindowOf(*control.Owner()) : nullptr;
}

void PostClickAt(HWND hwnd, int x, int y) {
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

ShownState Inspect(const Control& control) {
    ShownState state;
    HWND hwnd = Win32Backend::WindowOf(control);
    if (hwnd == nullptr) return state;
    state.exists = true;
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
    state.text = platform::TextFromWide(text);
    state.enabled = IsWindowEnabled(hwnd) != FALSE;
    state.visible = (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    state.checked = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.focused = GetFocus() == hwnd;
    return state;
}

void PressButton(const Control& control) {
    if (HWND hwnd = Win32Backend::WindowOf(control)) SendMessageA(hwnd, BM_CLICK, 0, 0);
}

void PostKey(Key key, bool shift) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, VirtualKey(key), 1);
    PostMessageA(target, WM_KEYUP, VirtualKey(key), 0xC0000001);
}

void PostClick(const Control& control, int x, int y) {
    HWND own = Win32Backend::WindowOf(control);
    if (own != nullptr) {
        PostClickAt(own, x, y);
    } else {
        PostClickAt(HostOf(control), control.Left() + x, control.Top() + y);
    }
}

void PostClickOnForm(const Form& form, int x, int y) {
    PostClickAt(Win32Backend::WindowOf(form), x, y);
}

void PostClickOnItem(const CheckListBox& list, std::size_t index, bool onBox) {
    HWND hwnd = Win32Backend::WindowOf(list);
    RECT item{};
    SendMessageA(hwnd, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const int y = (item.top + item.bottom) / 2;
    PostClickAt(hwnd, onBox ? item.left + 6 : item.right - 10, y);
}

void PostTyping(const std::string& text) {
    HWND target = GetFocus();
    for (char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool OwnedBy(const Form& form, const Form& owner) {
    HWND hwnd = Win32Backend::WindowOf(form);
    return hwnd != nullptr && GetWindow(hwnd, GW_OWNER) == Win32Backend::WindowOf(owner);
}

bool TopMost(const Form& form) {
    HWND hwnd = Win32Backend::WindowOf(form);
    return hwnd != nullptr && (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool Active(const Form& form) {
    HWND hwnd = Win32Backend::WindowOf(form);
    return hwnd != nullptr && GetActiveWindow() == hwnd;
}

Color CaptionColorAt(const Form& form, double x) {
    HWND hwnd = Win32Backend::WindowOf(form);
    const RECT area = CaptionArea(hwnd);
    WindowDc dc(hwnd, true);
    return GetPixel(dc.Get(), area.left + static_cast<int>((area.right - 1 - area.left) * x),
                    (area.top + area.bottom) / 2);
}

bool HandPointerAt(const Form& form, int x, int y) {
    HWND hwnd = Win32Backend::WindowOf(form);
    POINT at{x, y};
    ClientToScreen(hwnd, &at);
    SetCursorPos(at.x, at.y);
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorA(nullptr, IDC_HAND);
}

headless::Raster CaptureWindow(const Form& form) {
    HWND hwnd = Win32Backend::WindowOf(form);
    RECT client{};
    GetClientRect(hwnd, &client);
    headless::Raster raster(client.right, client.bottom);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WindowDc window(hwnd);
    MemoryDc memory(CreateCompatibleDC(window.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return raster;
    {
        Selection selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, client.right, client.bottom, window.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    PixelSurface target = raster.Surface();
    const auto* source = static_cast<const Argb*>(bits);
    for (std::size_t i = 0;
         i < static_cast<std::size_t>(client.right) * static_cast<std::size_t>(client.bottom);
         ++i) {
        target.pixels[i] = source[i] | 0xFF000000u;
    }
    return raster;
}

}  // namespace kav::widgets::win32
