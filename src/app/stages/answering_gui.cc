#include "app/stages/answering_gui.h"

#include "app/one_line.h"

namespace kav::app {
namespace {

constexpr const char* kCaption = "KAV - Setup";
constexpr const char* kByRule = "/ANSWER";
constexpr const char* kByDefault = "default";
constexpr const char* kByUser = "user";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void AnsweringGui::ProcessMessages() {
    if (unattended_ && lastYield_ && clock_() - *lastYield_ < kYieldSpacingUs) return;
    inner_.ProcessMessages();
    if (unattended_) lastYield_ = clock_();
}

std::optional<AnsweringGui::Decision> AnsweringGui::Decide(
    const std::string& text, std::initializer_list<const char*> offered,
    const char* unattendedDefault) {
    if (const auto ruled = answers_.ButtonFor(text)) {
        for (const char* button : offered) {
            if (*ruled == button) return Decision{*ruled, kByRule};
        }
        log_.Note("the /ANSWER " + *ruled + " is no button of \"" + OneLine(text) + "\"");
    }
    if (unattended_) return Decision{unattendedDefault, kByDefault};
    return std::nullopt;
}

std::string AnsweringGui::Answer(const std::string& caption, const std::string& text,
                                 const std::string& button, const char* by, bool answeredHere) {
    log_.Note("question \"" + OneLine(text) + "\": " + button + " (" + by + ")");
    lastAnswerBy_ = by;
    if (answeredHere && OnAnswered) OnAnswered(caption, text, button);
    return button;
}

void AnsweringGui::ShowMessage(const std::string& text) {
    log_.Note("message \"" + OneLine(text) + "\"");
    if (showMessages_ || !unattended_) inner_.ShowMessage(text);
}

bool AnsweringGui::AskYesNo(const std::string& text) {
    const char* fallback =
        StartsWith(text, "Create New Directory for Installation [") ? "Yes" : "No";
    if (const auto d = Decide(text, {"Yes", "No"}, fallback)) {
        return Answer(kCaption, text, d->button, d->by, true) == "Yes";
    }
    const bool yes = inner_.AskYesNo(text);
    Answer(kCaption, text, yes ? "Yes" : "No", kByUser, false);
    return yes;
}

bool AnsweringGui::AskOkCancel(const std::string& text) {
    if (const auto d = Decide(text, {"OK", "Cancel"}, "Cancel")) {
        return Answer(kCaption, text, d->button, d->by, true) == "OK";
    }
    const bool ok = inner_.AskOkCancel(text);
    Answer(kCaption, text, ok ? "OK" : "Cancel", kByUser, false);
    return ok;
}

platform::WarningAnswer AnsweringGui::AskWarning(const std::string& text) {
    if (const auto d = Decide(text, {"No", "Abort"}, "No")) {
        return Answer("Warning", text, d->button, d->by, true) == "Abort"
                   ? platform::WarningAnswer::Abort
                   : platform::WarningAnswer::No;
    }
    const platform::WarningAnswer answer = inner_.AskWarning(text);
    Answer("Warning", text, answer == platform::WarningAnswer::Abort ? "Abort" : "No", kByUser,
           false);
    return answer;
}

// The prompt asks for a directory that only a person can name: a rule may
// confirm what it shows, an unattended run cancels.
bool AnsweringGui::InputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value) {
    const std::string text = caption + ": " + prompt;
    if (const auto d = Decide(text, {"OK", "Cancel"}, "Cancel")) {
        return Answer(caption, text, d->button, d->by, true) == "OK";
    }
    const bool ok = inner_.InputQuery(caption, prompt, value);
    Answer(caption, text, ok ? "OK (" + value + ")" : "Cancel", kByUser, false);
    return ok;
}

}  // namespace kav::app
