#include "app/kavset/terminal_gui.h"

#include <cstdio>
#include <iostream>
#include <string>

#if defined(_WIN32)
#include <io.h>
#define KAV_ISATTY _isatty
#else
#include <unistd.h>
#define KAV_ISATTY isatty
#endif

namespace kav::app {
namespace {

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

bool AnsweredYes(const std::string& question, const std::string& yesWord) {
    std::string answer;
    if (!TerminalGui::AskLine(question, answer)) return false;
    return !answer.empty() && (answer[0] == yesWord[0] || answer[0] == yesWord[0] - 32);
}

}  // namespace

bool StdinIsTerminal() { return KAV_ISATTY(0) != 0; }
bool StderrIsTerminal() { return KAV_ISATTY(2) != 0; }

bool TerminalGui::AskLine(const std::string& question, std::string& answer) {
    if (!StdinIsTerminal()) return false;
    std::cerr << question << std::flush;
    return static_cast<bool>(std::getline(std::cin, answer));
}

void TerminalGui::ShowMessage(const std::string& text) { std::cerr << OneLine(text) << "\n"; }

bool TerminalGui::AskYesNo(const std::string& text) {
    return AnsweredYes(OneLine(text) + " [y/N] ", "y");
}

platform::WarningAnswer TerminalGui::AskWarning(const std::string& text) {
    return AnsweredYes(OneLine(text) + " [abort/No] ", "a") ? platform::WarningAnswer::Abort
                                                            : platform::WarningAnswer::No;
}

bool TerminalGui::AskOkCancel(const std::string& text) {
    std::cerr << OneLine(text) << "\n";
    return AnsweredYes("OK or Cancel? [o/C] ", "o");
}

bool TerminalGui::InputQuery(const std::string& caption, const std::string& prompt,
                             std::string& value) {
    std::string answer;
    if (!AskLine(caption + " - " + prompt + " [" + value + "] ", answer)) return false;
    value = answer;
    return true;
}

}  // namespace kav::app
