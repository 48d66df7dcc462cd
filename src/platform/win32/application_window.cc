#include "platform/win32/application_window.h"

namespace kav::platform {
namespace {

// One GUI thread owns all windows, so plain globals suffice.
HWND mainWindow = nullptr;
HCURSOR screenCursor = nullptr;

}  // namespace

void SetApplicationMainWindow(HWND window) { mainWindow = window; }

HWND ApplicationMainWindow() {
    if (mainWindow && !::IsWindow(mainWindow)) mainWindow = nullptr;
    return mainWindow;
}

HWND DialogOwnerWindow() {
    if (HWND active = ::GetActiveWindow()) return active;
    return ApplicationMainWindow();
}

HCURSOR ScreenCursor() { return screenCursor; }

void SetScreenCursor(HCURSOR cursor) {
    screenCursor = cursor;
    ::SetCursor(cursor ? cursor : ::LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace kav::platform
