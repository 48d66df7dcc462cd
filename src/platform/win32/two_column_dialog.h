#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/modal_dialog.h"

namespace kav::platform {

// A message with a list of two columns between its heading and its closing
// text, and an OK button: each row's second column starts where the widest
// first column ends, and a long second column wraps within its own column.
// The heading has the message box's text id, so that whoever reads message
// boxes reads it the same way.
class TwoColumnDialog final : public ModalDialog {
public:
    using Row = std::pair<std::string, std::string>;
    static constexpr int kHeadingId = 0xFFFF;

    TwoColumnDialog(std::string title, std::string heading, std::vector<Row> rows,
                    std::string closing, LPCSTR icon)
        : title_(std::move(title)),
          heading_(std::move(heading)),
          rows_(std::move(rows)),
          closing_(std::move(closing)),
          icon_(icon) {}
    void Show(HWND owner);

private:
    static constexpr int kIconId = 100;
    static constexpr int kClosingId = 101;
    static constexpr int kFirstRowId = 200;  // then two ids a row

    void OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;

    std::string title_;
    std::string heading_;
    std::vector<Row> rows_;
    std::string closing_;
    LPCSTR icon_;
};

}  // namespace kav::platform
