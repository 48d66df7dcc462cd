#include "widgets/win32/window.h"

#include <stdexcept>

#include "platform/win32/wide.h"

namespace kav::widgets::win32 {

COLORREF ToColorRef(unsigned color) {
    if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

Window::~Window() {
    // Messages sent while the window is being destroyed (WM_DESTROY,
    // WM_NCDESTROY) must not reach an object that is half gone, whose
    // handle is being released: unhooked, the window procedure leaves them
    // to the system's default handling.
    if (hwnd_) SetWindowLongPtrA(hwnd_.Get(), GWLP_USERDATA, 0);
    hwnd_.Reset();
}

void Window::RegisterClassOnce() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        // The program's own icon when it has one (resource 1).
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        if (wc.hIcon == nullptr)
            wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) throw std::runtime_error("Cannot register the window class");
}

void Window::CreateHandle(DWORD exStyle, DWORD style, const std::string& title, RECT placement,
                          HWND parent) {
    RegisterClassOnce();
    HWND hwnd = CreateWindowExW(exStyle, kClassName, platform::Wide(title).c_str(), style,
                                placement.left, placement.top, placement.right - placement.left,
                                placement.bottom - placement.top, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
    if (hwnd == nullptr) throw std::runtime_error("Cannot create the window " + title);
    // hwnd_ holds the window already: the window procedure took it at
    // WM_NCCREATE.
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_.Reset(hwnd);
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->errors_.Capture(std::current_exception());
        return 0;
    }
}

}  // namespace kav::widgets::win32
