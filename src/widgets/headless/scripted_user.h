#pragma once
// The user of a headless run: answers dialogs from a script (or with their
// default buttons) and acts on forms when they are shown.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

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
    // The next scripted reply, if any is left.
    std::optional<Reply> NextReply() {
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
    std::deque<Reply> answers_;
    std::map<std::string, FormAction> shownActions_;
    std::map<std::string, FormAction> idleActions_;
};

}  // namespace kav::widgets::headless
