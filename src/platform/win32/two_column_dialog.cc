#include "platform/win32/two_column_dialog.h"

#include <algorithm>

#include "platform/win32/wide.h"

namespace kav::platform {

void TwoColumnDialog::Show(HWND owner) {
    DialogTemplate dialogTemplate;
    constexpr DWORD kText = SS_LEFT | SS_NOPREFIX;
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kIconId, SS_ICON);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kHeadingId, kText);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const auto id = static_cast<WORD>(kFirstRowId + 2 * i);
        dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, id, kText);
        dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, id + 1, kText);
    }
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Static, kClosingId, kText);
    dialogTemplate.AddControl(DialogTemplate::ControlClass::Button, IDOK,
                              BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
    Run(dialogTemplate, owner, IDOK);
}

void TwoColumnDialog::OnInitDialog(HWND dialog) {
    ::SetWindowTextW(dialog, Wide(title_).c_str());
    SetItemText(dialog, kHeadingId, heading_);
    SetItemText(dialog, kClosingId, closing_);
    SetItemText(dialog, IDOK, "OK");
    ShowSystemIcon(dialog, kIconId, icon_);

    const SIZE margin = DialogUnits(dialog, 8, 8);
    const SIZE gap = DialogUnits(dialog, 8, 2);
    const SIZE button = DialogUnits(dialog, 50, 14);
    const int icon = ::GetSystemMetrics(SM_CXICON);
    const int unbounded = DialogUnits(dialog, 1000, 0).cx;
    const int meaningLimit = DialogUnits(dialog, 180, 0).cx;

    int firstWidth = 0;
    int secondWidth = 0;
    for (const Row& row : rows_) {
        firstWidth = std::max<int>(firstWidth, MeasureText(dialog, row.first, unbounded).cx);
        secondWidth = std::max<int>(secondWidth, MeasureText(dialog, row.second, meaningLimit).cx);
    }
    const int listWidth = firstWidth + gap.cx + secondWidth;
    const SIZE heading = MeasureText(dialog, heading_, listWidth);
    const SIZE closing = MeasureText(dialog, closing_, listWidth);
    const int textWidth = std::max<int>({listWidth, heading.cx, closing.cx});

    const int left = margin.cx + icon + margin.cx;
    int top = margin.cy;
    Place(dialog, kIconId, margin.cx, top, icon, icon);
    Place(dialog, kHeadingId, left, top, heading.cx, heading.cy);
    top += std::max<int>(heading.cy, icon) + gap.cy;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int id = kFirstRowId + 2 * static_cast<int>(i);
        SetItemText(dialog, id, rows_[i].first);
        SetItemText(dialog, id + 1, rows_[i].second);
        const SIZE first = MeasureText(dialog, rows_[i].first, unbounded);
        const SIZE second = MeasureText(dialog, rows_[i].second, secondWidth);
        Place(dialog, id, left, top, firstWidth, first.cy);
        Place(dialog, id + 1, left + firstWidth + gap.cx, top, secondWidth, second.cy);
        top += std::max<int>(first.cy, second.cy) + gap.cy;
    }
    top += margin.cy - gap.cy;
    Place(dialog, kClosingId, left, top, closing.cx, closing.cy);
    top += closing.cy + margin.cy;

    const int width = left + textWidth + margin.cx;
    Place(dialog, IDOK, (width - button.cx) / 2, top, button.cx, button.cy);
    SetClientSizeCentred(dialog, width, top + button.cy + margin.cy);
}

bool TwoColumnDialog::OnCommand(HWND dialog, WORD id) {
    if (id != IDOK && id != IDCANCEL) return false;
    ::EndDialog(dialog, IDOK);
    return true;
}

}  // namespace kav::platform
