#pragma once
// Every message box and dialog the program showed, in order, with the
// answer it got: what a user would have seen.
#include <string>
#include <vector>

namespace kav::widgets::headless {

// Error: the application's error report for an exception that escaped an
// event handler.
enum class MessageKind { Message, YesNo, OkCancel, Warning, Input, Error };

struct ShownMessage {
    MessageKind kind;
    std::string caption;
    std::string text;    // for an input dialog: the prompt
    std::string answer;  // the button: "OK", "Yes", "No", "Abort", "Cancel"
};

class Transcript {
public:
    void Record(ShownMessage message) { messages_.push_back(std::move(message)); }
    const std::vector<ShownMessage>& Messages() const { return messages_; }
    // Just the texts, for comparing a run's messages in one go.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages_) texts.push_back(m.text);
        return texts;
    }
    void Clear() { messages_.clear(); }

private:
    std::vector<ShownMessage> messages_;
};

}  // namespace kav::widgets::headless
