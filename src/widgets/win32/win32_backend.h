#pragma once
// The Win32 back end: a real window for every form and control, a modal
// loop per modal form, and SetTimer for the one-shot timers.
#include <windows.h>

#include <vector>

#include "platform/gui.h"
#include "widgets/backend.h"
#include "widgets/form.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {

class Win32Backend final : public Backend {
public:
    // `gui`, when given, is the platform's toolkit: its Terminate also ends
    // the loops run here.
    explicit Win32Backend(platform::Gui* gui = nullptr);
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;
    ~Win32Backend() override = default;

    void ShowForm(Form& form) override;
    void FormShown(Form&) override {}
    void HideForm(Form& form) override;
    void DestroyForm(Form& form) override;
    void RunModal(Form& form) override;
    void Run(Form& mainForm) override;
    void ControlAdded(Control& control) override;
    void TimerChanged(Timer& timer) override;
    bool Terminating() const override;

    // The window of a shown form or of one of its controls; null when it
    // has none.
    static HWND WindowOf(const Form& form);
    static HWND WindowOf(const Control& control);

private:
    void CreateWindows(Form& form);
    void CreatePeer(Control& control);
    void SetSystemTimer(Timer& timer);
    // Dispatches messages until `form` is hidden or the application ends.
    void Loop(const Form& form);

    ErrorSink errors_;
    platform::Gui* gui_;
    std::vector<Form*> forms_;
    bool quit_ = false;
};

}  // namespace kav::widgets::win32
