#include "platform/win32/modal_dialog.h"

#include <algorithm>

#include "platform/win32/wide.h"

namespace kav::platform {

INT_PTR ModalDialog::Run(const DialogTemplate& dialogTemplate, HWND owner, INT_PTR failure) {
    failure_ = failure;
    failed_ = false;
    const INT_PTR result =
        ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate.Get(), owner,
                                  &ModalDialog::Procedure, reinterpret_cast<LPARAM>(this));
    if (result == -1 || failed_) return failure;
    return result;
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    try {
        switch (message) {
            case WM_INITDIALOG:
                self = reinterpret_cast<ModalDialog*>(lParam);
                ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
                self->OnInitDialog(dialog);
                return TRUE;
            case WM_COMMAND:
                if (self && HIWORD(wParam) == BN_CLICKED)
                    return self->OnCommand(dialog, LOWORD(wParam));
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        // Nothing may unwind through the dialog manager: end the dialog and
        // let Run report the failure.
        if (self) {
            self->failed_ = true;
            ::EndDialog(dialog, self->failure_);
        }
        return TRUE;
    }
}

SIZE ModalDialog::DialogUnits(HWND dialog, int x, int y) {
    RECT rect{0, 0, x, y};
    ::MapDialogRect(dialog, &rect);
    return {rect.right, rect.bottom};
}

SIZE ModalDialog::MeasureText(HWND dialog, const std::string& text, int maxWidth) {
    const HDC dc = ::GetDC(dialog);
    if (!dc) return {maxWidth, 16};
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    RECT rect{0, 0, maxWidth, 0};
    ::DrawTextW(dc, Wide(text.empty() ? " " : text).c_str(), -1, &rect,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    if (previous) ::SelectObject(dc, previous);
    ::ReleaseDC(dialog, dc);
    return {std::min<LONG>(rect.right, maxWidth), rect.bottom};
}

void ModalDialog::Place(HWND dialog, int id, int x, int y, int width, int height) {
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, x, y, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalDialog::SetItemText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

void ModalDialog::ShowSystemIcon(HWND dialog, int id, LPCSTR icon) {
    ::SendDlgItemMessageA(dialog, id, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconA(nullptr, icon)), 0);
}

void ModalDialog::SetClientSizeCentred(HWND dialog, int width, int height) {
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    RECT area{};
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (!owner || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area)) {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int x = area.left + ((area.right - area.left) - frameWidth) / 2;
    const int y = area.top + ((area.bottom - area.top) - frameHeight) / 2;
    ::SetWindowPos(dialog, nullptr, std::max(0, x), std::max(0, y), frameWidth, frameHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kav::platform
