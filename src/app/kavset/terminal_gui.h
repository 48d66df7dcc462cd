#pragma once
// The readers' dialogs on a terminal: questions are asked on standard error
// and answered on standard input when it is a terminal; otherwise every
// question is answered with Cancel (or No), so that a script never hangs.
#include "platform/gui.h"

namespace kav::app {

bool StdinIsTerminal();
bool StderrIsTerminal();

class TerminalGui final : public platform::Gui {
public:
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    platform::WarningAnswer AskWarning(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    void SetCursor(platform::Cursor) override {}
    void ProcessMessages() override {}
    void Terminate() override { terminated_ = true; }
    bool Terminated() const override { return terminated_; }

    // Asks on the terminal; false when standard input is not a terminal or
    // has ended.
    static bool AskLine(const std::string& question, std::string& answer);

private:
    bool terminated_ = false;
};

}  // namespace kav::app
