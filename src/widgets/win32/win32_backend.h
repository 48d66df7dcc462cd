#pragma once
// The Win32 back end: a real window for every form and windowed control,
// windowless controls painted by the window they lie on, a modal loop per
// modal form, SetTimer for the one-shot timers, the keyboard routed through
// the model's focus rules, and the application's error report.
#include <windows.h>

#include <set>
#include <vector>

#include "platform/gui.h"
#include "widgets/backend.h"
#include "widgets/error_report.h"
#include "widgets/form.h"
#include "widgets/win32/window.h"

namespace kav::widgets::win32 {

class Win32Backend final : public Backend {
public:
    static constexpr const char* kApplicationTitle = "KAV - Setup";

    // `gui`, when given, is the platform's toolkit: its Terminate also ends
    // the loops run here.
    explicit Win32Backend(platform::Gui* gui = nullptr);
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;
    ~Win32Backend() override = default;

    void ShowForm(Form& form) override;
    void PrepareForm(Form& form) override;
    void FormShown(Form&) override {}
    void HideForm(Form& form) override;
    void DestroyForm(Form& form) override;
    void RunModal(Form& form) override;
    void Run(Form& mainForm) override;
    void ControlAdded(Control& control) override;
    void TimerChanged(Timer& timer) override;
    bool Terminating() const override;
    TextExtent MeasureText(const std::string& text, const Font& font) override;
    ErrorReport& Errors() override { return report_; }

    // Dispatches the messages pending now, as the modal loops do.
    void ProcessMessages();

    // The window of a shown form or of one of its windowed controls; null
    // when it has none.
    static HWND WindowOf(const Form& form);
    static HWND WindowOf(const Control& control);

    // Window use: where window procedures leave exceptions.
    ErrorSink& Sink() { return sink_; }
    // Window use: the system timer `id` of `window` has elapsed.
    void TimerElapsed(HWND window, UINT_PTR id);

private:
    struct ModalRun {
        Form* form;
        std::vector<HWND> disabled;  // enabled again when the form hides
    };

    void CreateWindows(Form& form);
    void CreatePeer(Control& control);
    void SetSystemTimer(Timer& timer);
    // The window a new or re-shown secondary window belongs to.
    HWND OwnerFor(const Form& form) const;
    void EnableOthers(ModalRun& run);
    // Dispatches one message; false when it was WM_QUIT.
    bool Dispatch(MSG& msg);
    // Tab, Enter, Escape and the others go to the model's form first.
    bool RouteKey(const MSG& msg);
    void ReportErrors();
    // Dispatches messages until `form` is hidden or the application ends.
    void Loop(const Form& form);

    ErrorSink sink_;
    ErrorReport report_;
    platform::Gui* gui_;
    std::vector<Form*> forms_;
    std::vector<ModalRun> modalRuns_;
    std::set<Timer*> enabledTimers_;
    Form* mainForm_ = nullptr;
    bool quit_ = false;
};

}  // namespace kav::widgets::win32
