#include "widgets/win32/win32_backend.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/application_window.h"
#include "platform/win32/wide.h"
#include "widgets/win32/gdi_canvas.h"
#include "widgets/win32/peers.h"

namespace kav::widgets::win32 {
namespace {

UINT_PTR TimerId(const Timer& timer) { return reinterpret_cast<UINT_PTR>(&timer); }

bool KeyOf(WPARAM virtualKey, Key& key) {
    switch (virtualKey) {
        case VK_TAB:
            key = Key::Tab;
            return true;
        case VK_RETURN:
            key = Key::Enter;
            return true;
        case VK_ESCAPE:
            key = Key::Escape;
            return true;
        case VK_SPACE:
            key = Key::Space;
            return true;
        case VK_PRIOR:
            key = Key::PageUp;
            return true;
        case VK_NEXT:
            key = Key::PageDown;
            return true;
        default:
            return false;
    }
}

// Tab, Enter and Escape have the form's rules (the focus order, the default
// and cancel buttons), whichever control has the focus.
bool FormKey(Key key) { return key == Key::Tab || key == Key::Enter || key == Key::Escape; }

}  // namespace

Win32Backend::Win32Backend(platform::Gui* gui)
    : report_([](const std::string& message) {
          MessageBoxW(platform::DialogOwnerWindow(), platform::Wide(message).c_str(),
                      platform::Wide(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
      }),
      gui_(gui) {
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

TextExtent Win32Backend::MeasureText(const std::string& text, const Font& font) {
    return MeasureOnScreen(text, font);
}

void Win32Backend::CreatePeer(Control& control) {
    HWND parent =
        control.Parent() != nullptr ? WindowOf(*control.Parent()) : WindowOf(*control.Owner());
    if (parent == nullptr) return;
    control.AttachPeer(MakeControlPeer(*this, control, parent));
}

HWND Win32Backend::OwnerFor(const Form& form) const {
    if (&form == mainForm_) return nullptr;
    for (auto it = modalRuns_.rbegin(); it != modalRuns_.rend(); ++it) {
        if (it->form != &form) return WindowOf(*it->form);
    }
    return mainForm_ != nullptr ? WindowOf(*mainForm_) : nullptr;
}

void Win32Backend::CreateWindows(Form& form) {
    form.AttachPeer(std::make_unique<HostWindow>(*this, form, OwnerFor(form)));
    forms_.push_back(&form);
    for (Control* c : form.Controls()) CreatePeer(*c);
    for (Timer* timer : enabledTimers_) {
        if (&timer->Owner() == &form) SetSystemTimer(*timer);
    }
}

void Win32Backend::ShowForm(Form& form) {
    if (form.Peer() == nullptr) {
        CreateWindows(form);
    } else if (&form != mainForm_) {
        // A secondary window belongs to whichever window shows it now.
        SetWindowLongPtrA(WindowOf(form), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(OwnerFor(form)));
    }
    HWND hwnd = WindowOf(form);
    ShowWindow(hwnd, form.State() == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    UpdateWindow(hwnd);
    if (Control* active = form.ActiveControl()) {
        if (HWND target = WindowOf(*active)) SetFocus(target);
    }
}

void Win32Backend::PrepareForm(Form& form) {
    if (form.Peer() == nullptr) CreateWindows(form);
}

void Win32Backend::EnableOthers(ModalRun& run) {
    for (HWND hwnd : run.disabled) EnableWindow(hwnd, TRUE);
    run.disabled.clear();
}

void Win32Backend::HideForm(Form& form) {
    HWND hwnd = WindowOf(form);
    if (hwnd == nullptr) return;
    // The windows a modal form disabled take input again before it hides,
    // so that activation returns to the window that showed it.
    for (ModalRun& run : modalRuns_) {
        if (run.form == &form) EnableOthers(run);
    }
    const bool wasActive = GetActiveWindow() == hwnd;
    ShowWindow(hwnd, SW_HIDE);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (wasActive && owner != nullptr && IsWindowVisible(owner)) SetActiveWindow(owner);
}

void Win32Backend::DestroyForm(Form& form) {
    if (form.Peer() == nullptr) return;
    HWND hwnd = WindowOf(form);
    for (Timer* timer : enabledTimers_) {
        if (&timer->Owner() == &form) KillTimer(hwnd, TimerId(*timer));
    }
    // Children before their containers, containers before the form.
    const auto& controls = form.Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) (*it)->DetachPeer();
    form.DetachPeer();
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    if (mainForm_ == &form) mainForm_ = nullptr;
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

void Win32Backend::TimerChanged(Timer& timer) {
    if (timer.Enabled()) {
        enabledTimers_.insert(&timer);
    } else {
        enabledTimers_.erase(&timer);
    }
    SetSystemTimer(timer);
}

void Win32Backend::TimerElapsed(HWND window, UINT_PTR id) {
    for (Timer* timer : enabledTimers_) {
        if (TimerId(*timer) == id) {
            timer->Fire();
            return;
        }
    }
    // A timer that is gone: its system timer must not go on.
    KillTimer(window, id);
}

bool Win32Backend::RouteKey(const MSG& msg) {
    Key key;
    if (msg.message != WM_KEYDOWN || !KeyOf(msg.wParam, key)) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto it =
        std::find_if(forms_.begin(), forms_.end(), [&](Form* f) { return WindowOf(*f) == root; });
    if (it == forms_.end()) return false;
    Form& form = **it;
    // The user may have moved the focus with the mouse.
    if (Win32Peer* focused = Win32Peer::FromHandle(msg.hwnd)) {
        for (Control* c : form.Controls()) {
            if (c->Peer() == focused && c->CanFocus()) form.SetActiveControl(c);
        }
    }
    // The form's own keys always go to the model; any other goes to it only
    // when the focused control's window leaves the key to it.
    if (!FormKey(key)) {
        Control* active = form.ActiveControl();
        auto* peer = active != nullptr ? static_cast<Win32Peer*>(active->Peer()) : nullptr;
        if (peer == nullptr || !peer->LeavesKeyToModel(key)) return false;
    }
    bool used = false;
    report_.Guard([&] { used = form.KeyDown(key, GetKeyState(VK_SHIFT) < 0); });
    return used;
}

void Win32Backend::ReportErrors() { report_.Handle(sink_.Take()); }

bool Win32Backend::Dispatch(MSG& msg) {
    if (msg.message == WM_QUIT) {
        // Every loop, the outer ones too, ends now.
        quit_ = true;
        return false;
    }
    if (!RouteKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ReportErrors();
    return true;
}

void Win32Backend::ProcessMessages() {
    MSG msg;
    while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(msg)) break;
    }
}

void Win32Backend::Loop(const Form& form) {
    while (form.Visible() && !Terminating()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            quit_ = true;
            break;
        }
        if (!Dispatch(msg)) break;
    }
}

void Win32Backend::RunModal(Form& form) {
    // The other forms take no input while this one runs, as with any modal
    // window.
    modalRuns_.push_back(ModalRun{&form, {}});
    for (Form* other : forms_) {
        HWND hwnd = WindowOf(*other);
        if (other != &form && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            modalRuns_.back().disabled.push_back(hwnd);
        }
    }
    struct EndRun {
        Win32Backend& backend;
        ~EndRun() {
            backend.EnableOthers(backend.modalRuns_.back());
            backend.modalRuns_.pop_back();
        }
    } end{*this};
    Loop(form);
}

void Win32Backend::Run(Form& mainForm) {
    // Message boxes and launched programs belong to the main window.
    struct MainWindow {
        ~MainWindow() { platform::SetApplicationMainWindow(nullptr); }
    } registration;
    mainForm_ = &mainForm;
    if (mainForm.Peer() == nullptr) CreateWindows(mainForm);
    platform::SetApplicationMainWindow(WindowOf(mainForm));
    report_.Guard([&] { mainForm.Show(); });
    ReportErrors();
    Loop(mainForm);
}

}  // namespace kav::widgets::win32
