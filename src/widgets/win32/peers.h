#pragma once
// The windows that mirror forms and controls: one peer class per kind of
// control, made by a visitor, so that no code switches over kinds.
#include <windows.h>

#include <memory>

#include "widgets/backend.h"
#include "widgets/control.h"
#include "widgets/form.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {

class Win32Backend;

// What every mirroring window offers its host window.
class Win32Peer : public ControlPeer {
public:
    Win32Peer(const Win32Peer&) = delete;
    Win32Peer& operator=(const Win32Peer&) = delete;
    ~Win32Peer() override;

    // The peer's own window; null for a windowless control.
    virtual HWND Hwnd() const = 0;
    // A notification (WM_COMMAND code) from the window.
    virtual void Command(int) {}
    // Sets up `dc` for drawing the control's text and returns the brush for
    // its background, or null for the system's default colours.
    virtual HBRUSH PrepareColors(HDC, HBRUSH hostBrush) { return hostBrush; }
    // An owner-drawn item of the window (WM_DRAWITEM).
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    // Whether `key`, pressed while the control has the focus, goes to the
    // model (Control::HandleKey) before the window sees it. The system's
    // windows keep the keys they handle well themselves: a button's space
    // bar, an edit's keys. The form's own keys (Tab, Enter, Escape) go to
    // the model whatever the peer says.
    virtual bool LeavesKeyToModel(Key) const { return false; }

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

// A window of the program's own class: a form, a panel, a notebook or a
// group box. It paints its surface and its windowless controls off-screen
// and copies them in one operation; its child windows lie above them.
class HostWindow final : public Window, public Win32Peer {
public:
    // The window of a form (top-level), owned by `owner` when given.
    HostWindow(Win32Backend& backend, Form& form, HWND owner);
    // The window of a container control inside `parent`.
    HostWindow(Win32Backend& backend, Control& container, HWND parent);
    ~HostWindow() override = default;

    HWND Hwnd() const override { return Handle(); }
    void Update(Property property) override;
    HBRUSH PrepareColors(HDC dc, HBRUSH hostBrush) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Form& OwnerForm() const { return form_ != nullptr ? *form_ : *container_->Owner(); }
    unsigned ModelColor() const;
    void RefreshBackground();
    void ReportBounds();
    void Paint();
    // The topmost windowless control of this window under the point, or
    // null.
    Control* WindowlessAt(int x, int y) const;

    Win32Backend& backend_;
    Form* form_ = nullptr;
    Control* container_ = nullptr;
    BrushHandle background_;
};

// Makes the peer of any kind of control inside the window `parent`.
std::unique_ptr<Win32Peer> MakeControlPeer(Win32Backend& backend, Control& control, HWND parent);

}  // namespace kav::widgets::win32
