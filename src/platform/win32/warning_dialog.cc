#include "platform/win32/warning_dialog.h"

#include <algorithm>

namespace kav::platform {

WarningAnswer WarningDialog::Show(HWND owner) {
    DialogTemplate dialogTemplate;
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kIconId, SS_ICON);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kTextId, SS_LEFT | SS_NOPREFIX);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Button, IDNO,
                              BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Button, IDABORT,
                              BS_PUSHBUTTON | WS_TABSTOP);
    return Run(dialogTemplate, owner, IDNO) == IDABORT ? WarningAnswer::Abort : WarningAnswer::No;
}

void WarningDialog::OnInitDialog(HWND dialog) {
    ::SetWindowTextA(dialog, "Warning");
    SetItemText(dialog, kTextId, text_);
    SetItemText(dialog, IDNO, "No");
    SetItemText(dialog, IDABORT, "Abort");
    ShowSystemIcon(dialog, kIconId, IDI_WARNING);

    const SIZE margin = DialogUnits(dialog, 8, 8);
    const SIZE button = DialogUnits(dialog, 50, 14);
    const SIZE gap = DialogUnits(dialog, 4, 4);
    const int icon = ::GetSystemMetrics(SM_CXICON);
    const SIZE text = MeasureText(dialog, text_, DialogUnits(dialog, 240, 0).cx);

    const int textLeft = margin.cx + icon + margin.cx;
    const int bodyHeight = std::max<int>(icon, text.cy);
    const int buttonsWidth = 2 * button.cx + gap.cx;
    const int width = std::max<int>(textLeft + text.cx + margin.cx, buttonsWidth + 2 * margin.cx);
    const int buttonsTop = margin.cy + bodyHeight + margin.cy;
    const int height = buttonsTop + button.cy + margin.cy;

    Place(dialog, kIconId, margin.cx, margin.cy, icon, icon);
    Place(dialog, kTextId, textLeft, margin.cy + (bodyHeight - text.cy) / 2, text.cx, text.cy);
    const int buttonsLeft = (width - buttonsWidth) / 2;
    Place(dialog, IDNO, buttonsLeft, buttonsTop, button.cx, button.cy);
    Place(dialog, IDABORT, buttonsLeft + button.cx + gap.cx, buttonsTop, button.cx, button.cy);
    SetClientSizeCentred(dialog, width, height);
    ::MessageBeep(MB_ICONWARNING);
}

bool WarningDialog::OnCommand(HWND dialog, WORD id) {
    switch (id) {
        case IDNO:
        case IDCANCEL:
            ::EndDialog(dialog, IDNO);
            return true;
        case IDABORT:
            ::EndDialog(dialog, IDABORT);
            return true;
        default:
            return false;
    }
}

}  // namespace kav::platform
