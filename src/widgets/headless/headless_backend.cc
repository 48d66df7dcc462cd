#include "widgets/headless/headless_backend.h"

#include <algorithm>

#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/painter.h"

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

// Plain stand-ins for the windows of the system's classes: their area in
// the colour the real ones mostly show.
void PaintStandIn(RasterCanvas& canvas, const Control& control) {
    const Bounds whole{0, 0, control.Width(), control.Height()};
    canvas.SetArea(control.Placement());
    if (dynamic_cast<const Edit*>(&control) != nullptr ||
        dynamic_cast<const Memo*>(&control) != nullptr ||
        dynamic_cast<const CheckListBox*>(&control) != nullptr) {
        canvas.FillRect(whole, clWindow);
    } else if (const auto* bar = dynamic_cast<const ProgressBar*>(&control)) {
        canvas.FillRect(whole, clBtnFace);
        const int span = bar->Max() - bar->Min();
        const int done = std::clamp(bar->Position() - bar->Min(), 0, span > 0 ? span : 0);
        if (span > 0)
            canvas.FillRect(Bounds{0, 0, control.Width() * done / span, control.Height()},
                            clHighlight);
    } else if (dynamic_cast<const Button*>(&control) != nullptr) {
        canvas.FillRect(whole, clBtnFace);
    } else {
        canvas.FillRect(whole, control.GetColor());
    }
}

// Paints a window and, above it, its child windows.
void PaintWindow(Raster& raster, const Form& form, const Control* container, const Bounds& window) {
    RasterCanvas canvas(raster, window);
    PaintSurface(canvas, form, container, window.width, window.height);
    for (const Control* c : form.Controls()) {
        if (c->Parent() != container || c->Windowless() || !c->Visible()) continue;
        if (c->IsContainer()) {
            const Bounds& b = c->Placement();
            const Bounds child = Intersect(
                Bounds{window.left + b.left, window.top + b.top, b.width, b.height}, window);
            PaintWindow(
                raster, form, c,
                Bounds{window.left + b.left, window.top + b.top, child.width, child.height});
        } else {
            PaintStandIn(canvas, *c);
        }
    }
}

}  // namespace

HeadlessBackend::HeadlessBackend()
    : errors_([this](const std::string& message) {
          if (terminated_) return;
          Record(MessageKind::Error, kMessageCaption, message, Reply({DialogButton::Ok}, message));
      }) {}

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
    if (const ScriptedUser::FormAction* action = user_.ShownAction(form.Name())) {
        errors_.Guard([&] { (*action)(form); });
    }
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

Raster HeadlessBackend::Capture(const Form& form) const {
    Raster raster(form.Width(), form.Height());
    PaintWindow(raster, form, nullptr, Bounds{0, 0, form.Width(), form.Height()});
    return raster;
}

void HeadlessBackend::Pump(Form& form) {
    bool userHasActed = false;
    while (form.Visible() && !terminated_) {
        if (FireNextTimer()) continue;
        // A user who means to act at a later time waits for it.
        if (const auto at = user_.NextActionTime()) {
            clockMs_ = std::max(clockMs_, *at);
            RunDueUserActions();
            continue;
        }
        // Nothing else can happen now: it is the user's turn.
        if (!userHasActed) {
            userHasActed = true;
            if (auto action = user_.TakeIdleAction(form.Name())) {
                errors_.Guard([&] { (*action)(form); });
                continue;
            }
        }
        errors_.Guard([&] { form.Close(); });
        // An OnClose handler may refuse; a user who finds the form still
        // open gives up rather than waiting forever.
        if (form.Visible() && std::none_of(armed_.begin(), armed_.end(), [](const ArmedTimer& a) {
                return !a.timer->Background();
            })) {
            form.Hide();
        }
    }
}

bool HeadlessBackend::FireNextTimer() {
    const ArmedTimer* next = nullptr;
    for (const ArmedTimer& a : armed_) {
        if (!a.timer->Background() && (next == nullptr || a.due < next->due)) next = &a;
    }
    if (next == nullptr) return false;
    FireTimersDueBy(next->due);
    return true;
}

void HeadlessBackend::FireTimersDueBy(std::uint64_t until) {
    for (;;) {
        auto next = std::min_element(
            armed_.begin(), armed_.end(),
            [](const ArmedTimer& a, const ArmedTimer& b) { return a.due < b.due; });
        if (next == armed_.end() || next->due > std::max(until, clockMs_)) break;
        // A user who acts before the timer is due acts first, at that time.
        if (const auto at = user_.NextActionTime(); at && *at < next->due) {
            clockMs_ = std::max(clockMs_, *at);
            RunDueUserActions();
            continue;
        }
        Timer* timer = next->timer;
        clockMs_ = std::max(clockMs_, next->due);
        armed_.erase(next);
        errors_.Guard([&] { timer->Fire(); });
        RunDueUserActions();
    }
    clockMs_ = std::max(clockMs_, until);
}

void HeadlessBackend::ProcessMessages() {
    ++processMessagesCalls_;
    clockMs_ += kProcessMessagesTickMs;
    RunDueUserActions();
    FireTimersDueBy(clockMs_);
}

void HeadlessBackend::RunDueUserActions() {
    for (auto& action : user_.TakeDueActions(processMessagesCalls_, clockMs_)) {
        errors_.Guard([&] { action(); });
    }
}

void HeadlessBackend::Disarm(const Timer& timer) {
    std::erase_if(armed_, [&](const ArmedTimer& a) { return a.timer == &timer; });
}

void HeadlessBackend::TimerChanged(Timer& timer) {
    Disarm(timer);
    if (timer.Enabled()) armed_.push_back(ArmedTimer{&timer, clockMs_ + timer.Interval()});
}

DialogButton HeadlessBackend::Reply(std::initializer_list<DialogButton> offered,
                                    const std::string& text, std::string* typed) {
    const DialogButton fallback = *offered.begin();
    auto reply = user_.NextReply(text);
    if (!reply || std::find(offered.begin(), offered.end(), reply->button) == offered.end()) {
        return fallback;
    }
    if (typed != nullptr && reply->text) *typed = *reply->text;
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
    Record(MessageKind::Message, kMessageCaption, text, Reply({DialogButton::Ok}, text));
}

bool HeadlessBackend::AskYesNo(const std::string& text) {
    if (terminated_) return false;
    const DialogButton answer = Reply({DialogButton::Yes, DialogButton::No}, text);
    Record(MessageKind::YesNo, kMessageCaption, text, answer);
    return answer == DialogButton::Yes;
}

bool HeadlessBackend::AskOkCancel(const std::string& text) {
    if (terminated_) return false;
    const DialogButton answer = Reply({DialogButton::Ok, DialogButton::Cancel}, text);
    Record(MessageKind::OkCancel, kMessageCaption, text, answer);
    return answer == DialogButton::Ok;
}

platform::WarningAnswer HeadlessBackend::AskWarning(const std::string& text) {
    if (terminated_) return platform::WarningAnswer::No;
    const DialogButton answer = Reply({DialogButton::No, DialogButton::Abort}, text);
    Record(MessageKind::Warning, "Warning", text, answer);
    return answer == DialogButton::Abort ? platform::WarningAnswer::Abort
                                         : platform::WarningAnswer::No;
}

bool HeadlessBackend::InputQuery(const std::string& caption, const std::string& prompt,
                                 std::string& value) {
    if (terminated_) return false;
    std::string typed = value;
    const DialogButton answer = Reply({DialogButton::Ok, DialogButton::Cancel}, prompt, &typed);
    Record(MessageKind::Input, caption, prompt, answer);
    if (answer != DialogButton::Ok) return false;
    value = typed;
    return true;
}

}  // namespace kav::widgets::headless
