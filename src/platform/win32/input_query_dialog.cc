#include "platform/win32/input_query_dialog.h"

#include <algorithm>

#include "platform/win32/wide.h"

namespace kav::platform {

bool InputQueryDialog::Show(HWND owner) {
    DialogTemplate dialogTemplate;
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kPromptId,
                              SS_LEFT | SS_NOPREFIX);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Edit, kEditId,
                              ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Button, IDOK,
                              BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Button, IDCANCEL,
                              BS_PUSHBUTTON | WS_TABSTOP);
    return Run(dialogTemplate, owner, IDCANCEL) == IDOK;
}

void InputQueryDialog::OnInitDialog(HWND dialog) {
    ::SetWindowTextW(dialog, Wide(caption_).c_str());
    ::SetDlgItemTextW(dialog, kPromptId, Wide(prompt_).c_str());
    ::SendDlgItemMessageA(dialog, kEditId, EM_LIMITTEXT, kMaxLength, 0);
    ::SetDlgItemTextW(dialog, kEditId, Wide(value_).c_str());
    ::SetDlgItemTextA(dialog, IDOK, "OK");
    ::SetDlgItemTextA(dialog, IDCANCEL, "Cancel");

    const SIZE margin = DialogUnits(dialog, 8, 8);
    const SIZE button = DialogUnits(dialog, 50, 14);
    const SIZE gap = DialogUnits(dialog, 4, 4);
    const int editHeight = DialogUnits(dialog, 0, 12).cy;
    const int minimumInner = DialogUnits(dialog, 164, 0).cx;
    const SIZE prompt = MeasureText(dialog, prompt_, DialogUnits(dialog, 300, 0).cx);

    const int inner = std::max<int>(minimumInner, prompt.cx);
    const int width = inner + 2 * margin.cx;
    const int editTop = margin.cy + prompt.cy + gap.cy;
    const int buttonsTop = editTop + editHeight + margin.cy;
    const int height = buttonsTop + button.cy + margin.cy;

    Place(dialog, kPromptId, margin.cx, margin.cy, prompt.cx, prompt.cy);
    Place(dialog, kEditId, margin.cx, editTop, inner, editHeight);
    const int cancelLeft = width - margin.cx - button.cx;
    Place(dialog, IDOK, cancelLeft - gap.cx - button.cx, buttonsTop, button.cx, button.cy);
    Place(dialog, IDCANCEL, cancelLeft, buttonsTop, button.cx, button.cy);
    SetClientSizeCentred(dialog, width, height);
    // The whole preset text is selected, so typing replaces it.
    ::SendDlgItemMessageA(dialog, kEditId, EM_SETSEL, 0, -1);
}

bool InputQueryDialog::OnCommand(HWND dialog, WORD id) {
    switch (id) {
        case IDOK: {
            const HWND edit = ::GetDlgItem(dialog, kEditId);
            std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
            const int length = ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
            text.resize(static_cast<std::size_t>(std::max(length, 0)));
            // A typed character without a code page 1252 form becomes "?",
            // which no file name may hold: a path typed so is refused as
            // such, never used as another one.
            value_ = TextFromWide(text);
            ::EndDialog(dialog, IDOK);
            return true;
        }
        case IDCANCEL:
            ::EndDialog(dialog, IDCANCEL);
            return true;
        default:
            return false;
    }
}

}  // namespace kav::platform
