#include "widgets/headless/headless_backend.h"

#include <algorithm>

#include "widgets/form.h"

namespace kav::widgets::headless {
namespace {

const char* ButtonName(Button button) {
    switch (button) {
        case Button::Ok:
            return "OK";
        case Button::Yes:
            return "Yes";
        case Button::No:
            return "No";
        case Button::Abort:
            return "Abort";
        case Button::Cancel:
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
    auto next = std::min_element(armed_.begin(), armed_.end(),
                                 [](const ArmedTimer& a, const ArmedTimer& b) {
                                     return a.due < b.due;
                                 });
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

Button HeadlessBackend::Reply(std::initializer_list<Button> offered, std::string* text) {
    const Button fallback = *offered.begin();
    if (terminated_) return fallback;
    auto reply = user_.NextReply();
    if (!reply || std::find(offered.begin(), offered.end(), reply->button) == offered.end()) {
        return fallback;
    }
    if (text != nullptr && reply->text) *text = *reply->text;
    return reply->button;
}

void HeadlessBackend::Record(MessageKind kind, const std::string& caption,
                             const std::string& text, Button answer) {
    ShownMessage message{kind, caption, text, ButtonName(answer)};
    transcript_.Record(message);
    if (OnMessage) OnMessage(message);
}

// The default buttons are those of the real dialogs: OK, Yes, No (the
// first of No and Abort) and OK.
void HeadlessBackend::ShowMessage(const std::string& text) {
    Record(MessageKind::Message, kMessageCaption, text, Reply({Button::Ok}));
}

bool HeadlessBackend::AskYesNo(const std::string& text) {
    const Button answer = Reply({Button::Yes, Button::No});
    Record(MessageKind::YesNo, kMessageCaption, text, answer);
    return answer == Button::Yes;
}

bool HeadlessBackend::AskOkCancel(const std::string& text) {
    const Button answer = Reply({Button::Ok, Button::Cancel});
    Record(MessageKind::OkCancel, kMessageCaption, text, answer);
    return answer == Button::Ok;
}

platform::WarningAnswer HeadlessBackend::AskWarning(const std::string& text) {
    const Button answer = Reply({Button::No, Button::Abort});
    Record(MessageKind::Warning, "Warning", text, answer);
    return answer == Button::Abort ? platform::WarningAnswer::Abort : platform::WarningAnswer::No;
}

bool HeadlessBackend::InputQuery(const std::string& caption, const std::string& prompt,
                                 std::string& value) {
    std::string typed = value;
    const Button answer = Reply({Button::Ok, Button::Cancel}, &typed);
    Record(MessageKind::Input, caption, prompt, answer);
    if (answer != Button::Ok) return false;
    value = typed;
    return true;
}

}  // namespace kav::widgets::headless
