#include "widgets/headless/headless_backend.h"

#include <algorithm>

#include "widgets/form.h"

namespace kav::widgets::headless {
namespace {

const char* ButtonName(DialogButton button) {
    switch (button) {
        case DialogButton::Ok:
            return "OK";
        case DialogButton::Yes:
            return "Yes";
        case DialogButton::No:
            return "No";
        case DialogButton::Abort:
            return "Abort";
        case DialogButton::Cancel:
            return "Cancel";
    }
    return "?";
}

}  // namespace

void HeadlessBackend::SetScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

void HeadlessBackend::ShowForm(Form& form) {
    Bounds b = form.Placement();
    if (form.State() == WindowState::Maximized) {
        b = Bounds{0, 0, screenWidth_, screenHeight_};
    } else if (form.Position() == FormPosition::ScreenCenter) {
        b.left = (screenWidth_ - b.width) / 2;
        b.top = (screenHeight_ - b.height) / 2;
    }
    form.BoundsChanged(b);
}

void HeadlessBackend::FormShown(Form& form) {
    if (const ScriptedUser::FormAction* action = user_.ShownAction(form.Name())) (*action)(form);
}

void HeadlessBackend::HideForm(Form&) {}

void HeadlessBackend::DestroyForm(Form& form) {
    std::erase_if(armed_, [&](const ArmedTimer& a) { return &a.timer->Owner() == &form; });
}

void HeadlessBackend::RunModal(Form& form) { Pump(form); }

void HeadlessBackend::Run(Form& mainForm) {
    mainForm.Show();
    Pump(mainForm);
}

void HeadlessBackend::Pump(Form& form) {
    bool userHasActed = false;
    while (form.Visible() && !terminated_) {
        if (FireNextTimer()) continue;
        // Nothing else can happen now: it is the user's turn.
        if (!userHasActed) {
            userHasActed = true;
            if (auto action = user_.TakeIdleAction(form.Name())) {
                (*action)(form);
                continue;
            }
        }
        form.Close();
        // An OnClose handler may refuse; a user who finds the form still
        // open gives up rather than waiting forever.
        if (form.Visible() && armed_.empty()) form.Hide();
    }
}

bool HeadlessBackend::FireNextTimer() {
    if (armed_.empty()) return false;
    auto next =
        std::min_element(armed_.begin(), armed_.end(),
                         [](const ArmedTimer& a, const ArmedTimer& b) { return a.due < b.due; });
    Timer* timer = next->timer;
    clockMs_ = std::max(clockMs_, next->due);
    armed_.erase(next);
    timer->Fire();
    return true;
}

void HeadlessBackend::Disarm(const Timer& timer) {
    std::erase_if(armed_, [&](const ArmedTimer& a) { return a.timer == &timer; });
}

void HeadlessBackend::TimerChanged(Timer& timer) {
    Disarm(timer);
    if (timer.Enabled()) armed_.push_back(ArmedTimer{&timer, clockMs_ + timer.Interval()});
}

DialogButton HeadlessBackend::Reply(std::initializer_list<DialogButton> offered,
                                    std::string* text) {
    const DialogButton fallback = *offered.begin();
    auto reply = user_.NextReply();
    if (!reply || std::find(offered.begin(), offered.end(), reply->button) == offered.end()) {
        return fallback;
    }
    if (text != nullptr && reply->text) *text = *reply->text;
    return reply->button;
}

void HeadlessBackend::Record(MessageKind kind, const std::string& caption, const std::string& text,
                             DialogButton answer) {
    ShownMessage message{kind, caption, text, ButtonName(answer)};
    transcript_.Record(message);
    if (OnMessage) OnMessage(message);
}

// The default buttons are those of the real dialogs: OK, Yes, No (the
// first of No and Abort) and OK. Once the application is terminating no
// dialog is shown any more; those that ask answer as if cancelled, like the
// real ones.
void HeadlessBackend::ShowMessage(const std::string& text) {
    if (terminated_) return;
    Record(MessageKind::Message, kMessageCaption, text, Reply({DialogButton::Ok}));
}

bool HeadlessBackend::AskYesNo(const std::string& text) {
    if (terminated_) return false;
    const DialogButton answer = Reply({DialogButton::Yes, DialogButton::No});
    Record(MessageKind::YesNo, kMessageCaption, text, answer);
    return answer == DialogButton::Yes;
}

bool HeadlessBackend::AskOkCancel(const std::string& text) {
    if (terminated_) return false;
    const DialogButton answer = Reply({DialogButton::Ok, DialogButton::Cancel});
    Record(MessageKind::OkCancel, kMessageCaption, text, answer);
    return answer == DialogButton::Ok;
}

platform::WarningAnswer HeadlessBackend::AskWarning(const std::string& text) {
    if (terminated_) return platform::WarningAnswer::No;
    const DialogButton answer = Reply({DialogButton::No, DialogButton::Abort});
    Record(MessageKind::Warning, "Warning", text, answer);
    return answer == DialogButton::Abort ? platform::WarningAnswer::Abort
                                         : platform::WarningAnswer::No;
}

bool HeadlessBackend::InputQuery(const std::string& caption, const std::string& prompt,
                                 std::string& value) {
    if (terminated_) return false;
    std::string typed = value;
    const DialogButton answer = Reply({DialogButton::Ok, DialogButton::Cancel}, &typed);
    Record(MessageKind::Input, caption, prompt, answer);
    if (answer != DialogButton::Ok) return false;
    value = typed;
    return true;
}

}  // namespace kav::widgets::headless
