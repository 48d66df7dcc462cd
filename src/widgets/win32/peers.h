#pragma once
// The windows that mirror forms and controls.
#include <windows.h>

#include <memory>

#include "widgets/backend.h"
#include "widgets/control.h"
#include "widgets/form.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {

// What every mirroring window offers its host window.
class Win32Peer : public ControlPeer {
public:
    Win32Peer(const Win32Peer&) = delete;
    Win32Peer& operator=(const Win32Peer&) = delete;
    ~Win32Peer() override;

    virtual HWND Hwnd() const = 0;
    // A notification (WM_COMMAND code) from the window.
    virtual void Command(int) {}
    // Sets up `dc` for drawing the control's text and returns the brush for
    // its background, or null for the system's default colours.
    virtual HBRUSH PrepareColors(HDC dc, HBRUSH hostBrush) = 0;

    // The peer that mirrors a window, or null.
    static Win32Peer* FromHandle(HWND hwnd);

protected:
    Win32Peer() = default;
    void Register(HWND hwnd);
    // Done before the window goes, while its properties can still be removed.
    void Unregister();

private:
    HWND registered_ = nullptr;
};

// A window of the program's own class: a form, a panel or a notebook.
class HostWindow final : public Window, public Win32Peer {
public:
    // The window of a form (top-level).
    HostWindow(ErrorSink& errors, Form& form);
    // The window of a container control inside `parent`.
    HostWindow(ErrorSink& errors, Control& container, HWND parent);
    ~HostWindow() override = default;

    HWND Hwnd() const override { return Handle(); }
    void Update(Property property) override;
    HBRUSH PrepareColors(HDC dc, HBRUSH hostBrush) override;
    HBRUSH Background() const { return background_.Get(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    unsigned ModelColor() const;
    void RefreshBackground();
    void ReportBounds();

    Form* form_ = nullptr;
    Control* container_ = nullptr;
    GdiObject<HBRUSH> background_;
};

// Makes the window of any kind of control; null for graphic controls that
// have no window of their own.
std::unique_ptr<Win32Peer> MakeControlPeer(ErrorSink& errors, Control& control, HWND parent);

}  // namespace kav::widgets::win32
