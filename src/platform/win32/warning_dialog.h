#pragma once
#include <string>

#include "platform/gui.h"
#include "platform/win32/modal_dialog.h"

namespace kav::platform {

// The standard warning dialog: caption "Warning", the warning icon, the
// text, and the buttons "No" and "Abort" in this order. Escape and the
// close box answer No.
class WarningDialog final : public ModalDialog {
public:
    // Control ids, for whoever drives the dialog from outside.
    static constexpr int kTextId = 100;
    static constexpr int kIconId = 101;

    explicit WarningDialog(std::string text) : text_(std::move(text)) {}
    WarningAnswer Show(HWND owner);

private:
    void OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;

    std::string text_;
};

}  // namespace kav::platform
