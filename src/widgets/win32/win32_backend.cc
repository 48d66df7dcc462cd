#include "widgets/win32/win32_backend.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/application_window.h"
#include "widgets/win32/peers.h"

namespace kav::widgets::win32 {
namespace {

UINT_PTR TimerId(const Timer& timer) {
    const auto& timers = timer.Owner().Timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].get() == &timer) return i + 1;
    }
    return 0;
}

}  // namespace

Win32Backend::Win32Backend(platform::Gui* gui) : gui_(gui) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
}

HWND Win32Backend::WindowOf(const Form& form) {
    auto* peer = static_cast<Win32Peer*>(form.Peer());
    return peer != nullptr ? peer->Hwnd() : nullptr;
}

HWND Win32Backend::WindowOf(const Control& control) {
    auto* peer = static_cast<Win32Peer*>(control.Peer());
    return peer != nullptr ? peer->Hwnd() : nullptr;
}

bool Win32Backend::Terminating() const { return quit_ || (gui_ != nullptr && gui_->Terminated()); }

void Win32Backend::CreatePeer(Control& control) {
    HWND parent =
        control.Parent() != nullptr ? WindowOf(*control.Parent()) : WindowOf(*control.Owner());
    if (parent == nullptr) return;
    control.AttachPeer(MakeControlPeer(errors_, control, parent));
}

void Win32Backend::CreateWindows(Form& form) {
    form.AttachPeer(std::make_unique<HostWindow>(errors_, form));
    forms_.push_back(&form);
    for (Control* c : form.Controls()) CreatePeer(*c);
    for (const auto& timer : form.Timers()) {
        if (timer->Enabled()) SetSystemTimer(*timer);
    }
}

void Win32Backend::ShowForm(Form& form) {
    if (form.Peer() == nullptr) CreateWindows(form);
    HWND hwnd = WindowOf(form);
    ShowWindow(hwnd, form.State() == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    UpdateWindow(hwnd);
}

void Win32Backend::HideForm(Form& form) {
    if (HWND hwnd = WindowOf(form)) ShowWindow(hwnd, SW_HIDE);
}

void Win32Backend::DestroyForm(Form& form) {
    if (form.Peer() == nullptr) return;
    HWND hwnd = WindowOf(form);
    for (const auto& timer : form.Timers()) KillTimer(hwnd, TimerId(*timer));
    // Children before their containers, containers before the form.
    const auto& controls = form.Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) (*it)->DetachPeer();
    form.DetachPeer();
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

void Win32Backend::ControlAdded(Control& control) {
    if (control.Owner() != nullptr && control.Owner()->Peer() != nullptr) CreatePeer(control);
}

void Win32Backend::SetSystemTimer(Timer& timer) {
    HWND hwnd = WindowOf(timer.Owner());
    if (hwnd == nullptr) return;
    if (timer.Enabled()) {
        SetTimer(hwnd, TimerId(timer), timer.Interval(), nullptr);
    } else {
        KillTimer(hwnd, TimerId(timer));
    }
}

void Win32Backend::TimerChanged(Timer& timer) { SetSystemTimer(timer); }

void Win32Backend::Loop(const Form& form) {
    while (form.Visible() && !Terminating()) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT: every loop, the outer ones too, ends now.
            quit_ = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        errors_.RethrowPending();
    }
}

void Win32Backend::RunModal(Form& form) {
    // The other forms take no input while this one runs, as with any modal
    // window.
    std::vector<HWND> disabled;
    for (Form* other : forms_) {
        HWND hwnd = WindowOf(*other);
        if (other != &form && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    }
    struct Reenable {
        std::vector<HWND>& windows;
        ~Reenable() {
            for (HWND hwnd : windows) EnableWindow(hwnd, TRUE);
        }
    } reenable{disabled};
    Loop(form);
}

void Win32Backend::Run(Form& mainForm) {
    // Message boxes and launched programs belong to the main window.
    struct MainWindow {
        ~MainWindow() { platform::SetApplicationMainWindow(nullptr); }
    } registration;
    if (mainForm.Peer() == nullptr) CreateWindows(mainForm);
    platform::SetApplicationMainWindow(WindowOf(mainForm));
    mainForm.Show();
    errors_.RethrowPending();
    Loop(mainForm);
}

}  // namespace kav::widgets::win32
