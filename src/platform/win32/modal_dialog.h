#pragma once
// Base of the program's own modal dialogs: runs a template as a modal
// dialog and routes its messages to the derived class, never letting an
// exception leave the dialog procedure.
#include <windows.h>

#include <string>

#include "platform/win32/dialog_template.h"

namespace kav::platform {

class ModalDialog {
public:
    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;
    virtual ~ModalDialog() = default;

protected:
    // Shows the dialog owned by `owner` and returns the code it was ended
    // with, or `failure` when it could not be shown or failed inside.
    INT_PTR Run(const DialogTemplate& dialogTemplate, HWND owner, INT_PTR failure);

    // Sets texts and places controls; the dialog is not visible yet.
    virtual void OnInitDialog(HWND dialog) = 0;
    // A button or control command; returns true when handled.
    virtual bool OnCommand(HWND dialog, WORD id) = 0;

    // Layout helpers, in pixels of the dialog's own font.
    static SIZE DialogUnits(HWND dialog, int x, int y);
    // The size `text` takes in the dialog's font, wrapped at `maxWidth`.
    static SIZE MeasureText(HWND dialog, const std::string& text, int maxWidth);
    static void Place(HWND dialog, int id, int x, int y, int width, int height);
    // Gives the dialog this client size and centres it on its owner (or on
    // the screen when it has none).
    static void SetClientSizeCentred(HWND dialog, int width, int height);
    // A control's text, given in the program's code page.
    static void SetItemText(HWND dialog, int id, const std::string& text);
    // One of the system's icons (IDI_...) in the static control `id`.
    static void ShowSystemIcon(HWND dialog, int id, LPCSTR icon);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR failure_ = -1;
    bool failed_ = false;
};

}  // namespace kav::platform
