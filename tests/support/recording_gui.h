#pragma once
// A Gui for tests: records every message and question, and answers from
// queues that the test fills (Yes, Abort and Cancel when a queue is empty).
#include <deque>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace kav::platform::testing {

class RecordingGui final : public Gui {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return Next(yesNoAnswers, true);
    }
    WarningAnswer AskWarning(const std::string& text) override {
        warnings.push_back(text);
        return Next(warningAnswers, WarningAnswer::Abort);
    }
    bool AskOkCancel(const std::string& text) override {
        questions.push_back(text);
        return Next(okCancelAnswers, true);
    }
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override {
        inputQueries.push_back(caption + "|" + prompt + "|" + value);
        if (inputAnswers.empty()) return false;
        value = inputAnswers.front();
        inputAnswers.pop_front();
        return true;
    }
    void SetCursor(Cursor cursor) override { cursors.push_back(cursor); }
    Cursor ShownCursor() const override {
        return cursors.empty() ? Cursor::Default : cursors.back();
    }
    void ProcessMessages() override { ++processMessagesCalls; }
    void Terminate() override { terminated = true; }
    bool Terminated() const override { return terminated; }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> warnings;
    std::vector<std::string> inputQueries;  // "caption|prompt|preset value"
    std::vector<Cursor> cursors;
    int processMessagesCalls = 0;
    bool terminated = false;

    std::deque<bool> yesNoAnswers;
    std::deque<bool> okCancelAnswers;
    std::deque<WarningAnswer> warningAnswers;
    std::deque<std::string> inputAnswers;  // each answers OK with this text

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace kav::platform::testing
