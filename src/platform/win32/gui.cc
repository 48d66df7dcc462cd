#include "platform/win32/gui.h"

#include <windows.h>

#include "platform/win32/application_window.h"
#include "platform/win32/input_query_dialog.h"
#include "platform/win32/warning_dialog.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

constexpr const wchar_t* kApplicationTitle = L"KAV - Setup";

}  // namespace

// Once the application is terminating no dialog waits for the user: the
// dialogs are not shown, and one that a pending quit ended early answers as
// if cancelled.

void Win32Gui::ShowMessage(const std::string& text) {
    if (terminated_) return;
    ::MessageBoxW(DialogOwnerWindow(), Wide(text).c_str(), kApplicationTitle, MB_OK);
}

bool Win32Gui::AskYesNo(const std::string& text) {
    if (terminated_) return false;
    const int answer = ::MessageBoxW(DialogOwnerWindow(), Wide(text).c_str(), kApplicationTitle,
                                     MB_YESNO | MB_ICONQUESTION);
    return answer == IDYES && !terminated_;
}

bool Win32Gui::AskOkCancel(const std::string& text) {
    if (terminated_) return false;
    const int answer = ::MessageBoxW(DialogOwnerWindow(), Wide(text).c_str(), kApplicationTitle,
                                     MB_OKCANCEL | MB_ICONERROR);
    return answer == IDOK && !terminated_;
}

WarningAnswer Win32Gui::AskWarning(const std::string& text) {
    if (terminated_) return WarningAnswer::No;
    WarningDialog dialog(text);
    const WarningAnswer answer = dialog.Show(DialogOwnerWindow());
    return terminated_ ? WarningAnswer::No : answer;
}

bool Win32Gui::InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value) {
    if (terminated_) return false;
    InputQueryDialog dialog(caption, prompt, value);
    if (!dialog.Show(DialogOwnerWindow()) || terminated_) return false;
    value = dialog.Value();
    return true;
}

Cursor Win32Gui::ShownCursor() const {
    return ScreenCursor() != nullptr ? Cursor::HourGlass : Cursor::Default;
}

void Win32Gui::SetCursor(Cursor cursor) {
    SetScreenCursor(cursor == Cursor::HourGlass ? ::LoadCursorA(nullptr, IDC_WAIT) : nullptr);
}

void Win32Gui::ProcessMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the outermost message loop: leave it in
            // the queue for that loop and stop here.
            terminated_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Win32Gui::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

}  // namespace kav::platform
