#pragma once
#include "platform/gui.h"

namespace kav::platform {

// Message boxes, the program's own dialogs, the cursor and the message pump
// of the one GUI thread.
class Win32Gui final : public Gui {
public:
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    WarningAnswer AskWarning(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    void SetCursor(Cursor cursor) override;
    Cursor ShownCursor() const override;
    void ProcessMessages() override;
    void Terminate() override;
    bool Terminated() const override { return terminated_; }

private:
    bool terminated_ = false;
};

}  // namespace kav::platform
