#pragma once
// The program's dialogs as an unattended run answers them. Every question
// goes first to the /ANSWER rules; when none matches, an unattended run
// gives the question's default (below), and otherwise the user behind
// `inner` answers. Each question is noted in the log with its answer and
// who gave it ("/ANSWER", "default" or "user").
//
// The unattended defaults lose nothing and never wait:
//   "File Already Exists (...). Overwrite?"            No: the existing file is kept
//   "Create New Directory for Installation [...] ?"   Yes: the directory asked for
//   the segment reader's mount box (OK / Cancel)       Cancel: a missing disk ends the run
//   "Mount Segment #N" (directory prompt)              Cancel: the same
//   "Abort Setup Process ?" (No / Abort)               No: the run goes on
//   any other Yes/No question                          No
//   a message (OK)                                     OK, without showing it
//
// Unattended, the message loop is entered at most once per 10 ms of work:
// the stages yield for every file, and a run of thousands of small files
// would otherwise spend much of its time there with nobody to answer; a
// shown window is still drawn more often than a screen shows frames.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/stages/wizard_answers.h"
#include "platform/event_log.h"
#include "platform/gui.h"

namespace kav::app {

class AnsweringGui final : public platform::Gui {
public:
    // A question this object answered itself, for a front end that lists the
    // dialogs of a run: caption, text and the button's name.
    using Answered = std::function<void(const std::string& caption, const std::string& text,
                                        const std::string& button)>;

    AnsweringGui(platform::Gui& inner, const WizardAnswers& answers, bool unattended,
                 bool showMessages, platform::EventLog& log)
        : inner_(inner),
          answers_(answers),
          unattended_(unattended),
          showMessages_(showMessages),
          log_(log) {}

    Answered OnAnswered;
    // Microseconds from a steady clock, for the spacing of yields.
    using Clock = std::function<std::int64_t()>;
    static constexpr std::int64_t kYieldSpacingUs = 10000;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    platform::WarningAnswer AskWarning(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    void SetCursor(platform::Cursor cursor) override { inner_.SetCursor(cursor); }
    platform::Cursor ShownCursor() const override { return inner_.ShownCursor(); }
    void ProcessMessages() override;
    void Terminate() override { inner_.Terminate(); }
    bool Terminated() const override { return inner_.Terminated(); }
    std::string LastAnswerBy() const override { return lastAnswerBy_; }

private:
    struct Decision {
        std::string button;
        const char* by;
    };
    // The rule's or the default's answer among `offered` (the default
    // first), or nothing when the user is to be asked.
    std::optional<Decision> Decide(const std::string& text,
                                   std::initializer_list<const char*> offered,
                                   const char* unattendedDefault);
    // Notes the question and, when this object answered it, tells the front
    // end; returns `button`.
    std::string Answer(const std::string& caption, const std::string& text,
                       const std::string& button, const char* by, bool answeredHere);

    platform::Gui& inner_;
    const WizardAnswers& answers_;
    bool unattended_;
    bool showMessages_;
    platform::EventLog& log_;
    Clock clock_ = [] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    std::string lastAnswerBy_ = "user";
    // When the last yield passed on ended.
    std::optional<std::int64_t> lastYield_;
};

}  // namespace kav::app
