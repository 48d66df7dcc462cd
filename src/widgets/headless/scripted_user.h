#pragma once
// The user of a headless run: answers dialogs from a script (or with their
// default buttons) and acts on forms when they are shown.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kav::widgets {
class Form;
}

namespace kav::widgets::headless {

enum class DialogButton { Ok, Yes, No, Abort, Cancel };

class ScriptedUser {
public:
    using FormAction = std::function<void(Form&)>;

    // The next dialog is answered with `button`. An answer that the dialog
    // does not offer is dropped and the dialog gets its default button.
    void Answer(DialogButton button) { answers_.push_back(Reply{button, std::nullopt}); }
    // The next input dialog is answered with OK and `text`.
    void Type(const std::string& text) { answers_.push_back(Reply{DialogButton::Ok, text}); }
    // The next dialog whose text contains `text` is answered with `button`,
    // wherever it comes among the others (they keep their queued answers).
    void AnswerWhen(const std::string& text, DialogButton button) {
        byText_.push_back(TextRule{text, Reply{button, std::nullopt}});
    }

    using Action = std::function<void()>;
    // The user acts while the program is busy: at the `count`th processing
    // of pending messages (counted from 1), or once the simulated clock has
    // reached `ms`, at the first processing of messages or timer after it.
    void AtProcessMessages(int count, Action action) {
        timed_.push_back(TimedAction{count, 0, std::move(action)});
    }
    void AtTime(std::uint64_t ms, Action action) {
        timed_.push_back(TimedAction{0, ms, std::move(action)});
    }
    // Hands out, once each, the actions due at this processing of messages
    // or this time.
    std::vector<Action> TakeDueActions(int processMessagesCount, std::uint64_t clockMs) {
        std::vector<Action> due;
        for (auto it = timed_.begin(); it != timed_.end();) {
            const bool now = it->count > 0 ? it->count == processMessagesCount
                                           : it->count == 0 && it->ms <= clockMs;
            if (now) {
                due.push_back(std::move(it->action));
                it = timed_.erase(it);
            } else {
                ++it;
            }
        }
        return due;
    }
    // The earliest time at which an action is waiting, if any.
    std::optional<std::uint64_t> NextActionTime() const {
        std::optional<std::uint64_t> next;
        for (const TimedAction& a : timed_) {
            if (a.count == 0 && (!next || a.ms < *next)) next = a.ms;
        }
        return next;
    }

    // Every time the form named `formName` has been shown (after its OnShow
    // handler), `action` plays the user on it.
    void WhenShown(const std::string& formName, FormAction action) {
        shownActions_[formName] = std::move(action);
    }
    // When nothing else can happen while the form is shown (no timer
    // pending), `action` plays the user once; without one, or if it left
    // the form open, the user closes the form.
    void WhenIdle(const std::string& formName, FormAction action) {
        idleActions_[formName] = std::move(action);
    }

    struct Reply {
        DialogButton button;
        std::optional<std::string> text;
    };
    // Asked first about every dialog, while it is up: may act (insert a
    // disk) and may answer it; nothing lets the queued answers decide.
    std::function<std::optional<DialogButton>(const std::string& text)> Decide;

    // The scripted reply for a dialog showing `text`, if any is left.
    std::optional<Reply> NextReply(const std::string& text = {}) {
        if (Decide) {
            if (auto button = Decide(text)) return Reply{*button, std::nullopt};
        }
        for (auto it = byText_.begin(); it != byText_.end(); ++it) {
            if (text.find(it->text) != std::string::npos) {
                Reply reply = it->reply;
                byText_.erase(it);
                return reply;
            }
        }
        if (answers_.empty()) return std::nullopt;
        Reply reply = answers_.front();
        answers_.pop_front();
        return reply;
    }
    const FormAction* ShownAction(const std::string& formName) const {
        auto it = shownActions_.find(formName);
        return it == shownActions_.end() ? nullptr : &it->second;
    }
    // Hands out the idle action once.
    std::optional<FormAction> TakeIdleAction(const std::string& formName) {
        auto it = idleActions_.find(formName);
        if (it == idleActions_.end()) return std::nullopt;
        FormAction action = std::move(it->second);
        idleActions_.erase(it);
        return action;
    }

private:
    struct TextRule {
        std::string text;
        Reply reply;
    };
    struct TimedAction {
        int count;  // 0: by time
        std::uint64_t ms;
        Action action;
    };

    std::deque<Reply> answers_;
    std::vector<TextRule> byText_;
    std::vector<TimedAction> timed_;
    std::map<std::string, FormAction> shownActions_;
    std::map<std::string, FormAction> idleActions_;
};

}  // namespace kav::widgets::headless
