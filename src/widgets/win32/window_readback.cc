#include "widgets/win32/window_readback.h"

#include <windows.h>

#include "widgets/win32/win32_backend.h"

namespace kav::widgets::win32 {

ShownState Inspect(const Control& control) {
    ShownState state;
    HWND hwnd = Win32Backend::WindowOf(control);
    if (hwnd == nullptr) return state;
    state.exists = true;
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    state.text = text;
    state.enabled = IsWindowEnabled(hwnd) != FALSE;
    state.visible = (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    state.checked = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return state;
}

void PressButton(const Control& control) {
    if (HWND hwnd = Win32Backend::WindowOf(control)) SendMessageA(hwnd, BM_CLICK, 0, 0);
}

}  // namespace kav::widgets::win32
