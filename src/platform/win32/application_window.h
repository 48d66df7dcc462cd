#pragma once
// The application-wide window state that the platform's dialogs and the
// widgets' Win32 back end share: the main window (owner of message boxes and
// of launched programs' error dialogs) and the screen cursor.
#include <windows.h>

namespace kav::platform {

// Registers the application's main window (nullptr when it is destroyed).
void SetApplicationMainWindow(HWND window);
// The registered main window, or nullptr.
HWND ApplicationMainWindow();
// The owner for a modal dialog opened now: the thread's active window, else
// the main window, else none.
HWND DialogOwnerWindow();

// The cursor the program asked for over all its windows, or nullptr for each
// window's own cursor. A window procedure answering WM_SETCURSOR shows this
// one when it is set, so that an hourglass survives mouse moves.
HCURSOR ScreenCursor();
void SetScreenCursor(HCURSOR cursor);

}  // namespace kav::platform
