#pragma once
// The headless back end: forms and controls keep only their state, time is
// simulated (a pending timer fires as soon as nothing else can happen, and
// each processing of pending messages lets a little time pass), a scripted
// user answers the dialogs and acts, also while the program is busy, and a
// form can be painted into a raster. It is also the platform's Gui for a
// simulated machine, so that every message the program shows lands in one
// transcript.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "widgets/backend.h"
#include "widgets/error_report.h"
#include "widgets/headless/raster.h"
#include "widgets/headless/scripted_user.h"
#include "widgets/headless/transcript.h"

namespace kav::widgets::headless {

class HeadlessBackend final : public Backend, public platform::Gui {
public:
    static constexpr const char* kMessageCaption = "KAV - Setup";

    // Simulated time that passes at each processing of pending messages.
    static constexpr std::uint64_t kProcessMessagesTickMs = 10;

    HeadlessBackend();
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    ScriptedUser& User() { return user_; }
    const Transcript& Messages() const { return transcript_; }
    Transcript& Messages() { return transcript_; }
    // Called for every dialog as it is shown, after its answer is known.
    std::function<void(const ShownMessage&)> OnMessage;

    // The simulated screen that maximised and centred forms are placed on.
    void SetScreenSize(int width, int height);
    // Simulated milliseconds since the back end was made.
    std::uint64_t Clock() const { return clockMs_; }
    int ProcessMessagesCalls() const { return processMessagesCalls_; }
    platform::Cursor CurrentCursor() const { return cursor_; }
    // What the form's window would show: its surface, its windowless
    // controls and plain stand-ins for its child windows.
    Raster Capture(const Form& form) const;

    // Backend
    void ShowForm(Form& form) override;
    // A form here has no windows to make.
    void PrepareForm(Form&) override {}
    void FormShown(Form& form) override;
    void HideForm(Form& form) override;
    void DestroyForm(Form& form) override;
    void RunModal(Form& form) override;
    void Run(Form& mainForm) override;
    void ControlAdded(Control&) override {}
    void TimerChanged(Timer& timer) override;
    bool Terminating() const override { return terminated_; }
    TextExtent MeasureText(const std::string& text, const Font& font) override {
        return HeadlessTextExtent(text, font);
    }
    ErrorReport& Errors() override { return errors_; }

    // platform::Gui
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    platform::WarningAnswer AskWarning(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    void SetCursor(platform::Cursor cursor) override { cursor_ = cursor; }
    platform::Cursor ShownCursor() const override { return cursor_; }
    // Lets kProcessMessagesTickMs pass, fires the timers that are due and
    // lets the scripted user act if it is their moment.
    void ProcessMessages() override;
    void Terminate() override { terminated_ = true; }
    bool Terminated() const override { return terminated_; }

private:
    struct ArmedTimer {
        Timer* timer;
        std::uint64_t due;
    };

    // Lets time pass and the user act until `form` is hidden.
    void Pump(Form& form);
    // Fires the next timer the program waits for (after the background
    // timers due before it); false when there is none.
    bool FireNextTimer();
    // Fires, in due order, every timer due by the clock or `until`.
    void FireTimersDueBy(std::uint64_t until);
    void RunDueUserActions();
    void Disarm(const Timer& timer);
    // The scripted reply if it is one of `offered`, else the default.
    DialogButton Reply(std::initializer_list<DialogButton> offered, const std::string& text,
                       std::string* typed = nullptr);
    void Record(MessageKind kind, const std::string& caption, const std::string& text,
                DialogButton answer);

    ScriptedUser user_;
    Transcript transcript_;
    ErrorReport errors_;
    std::vector<ArmedTimer> armed_;
    std::uint64_t clockMs_ = 0;
    int screenWidth_ = 1024;
    int screenHeight_ = 768;
    int processMessagesCalls_ = 0;
    platform::Cursor cursor_ = platform::Cursor::Default;
    bool terminated_ = false;
};

}  // namespace kav::widgets::headless
