#pragma once
#include <string>

#include "platform/win32/modal_dialog.h"

namespace kav::platform {

// The one-line input dialog: a caption, a prompt, an edit box of at most
// 255 characters preset with a value, and the buttons OK and Cancel.
class InputQueryDialog final : public ModalDialog {
public:
    // Control ids, for whoever drives the dialog from outside.
    static constexpr int kPromptId = 100;
    static constexpr int kEditId = 101;
    static constexpr int kMaxLength = 255;

    InputQueryDialog(std::string caption, std::string prompt, std::string value)
        : caption_(std::move(caption)), prompt_(std::move(prompt)), value_(std::move(value)) {}

    // True on OK; Value() then holds the edited text.
    bool Show(HWND owner);
    const std::string& Value() const { return value_; }

private:
    void OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;

    std::string caption_;
    std::string prompt_;
    std::string value_;
};

}  // namespace kav::platform
