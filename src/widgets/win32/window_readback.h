#pragma once
// What the window system shows for a control, read back from its window:
// lets tests of the Win32 back end check the screen without the Windows
// headers.
#include <string>

#include "widgets/control.h"

namespace kav::widgets::win32 {

struct ShownState {
    bool exists = false;  // the control has a window
    std::string text;
    bool enabled = false;
    bool visible = false;  // the window's own visibility flag
    bool checked = false;  // buttons only
};

ShownState Inspect(const Control& control);
// Clicks a button window as the user would (BM_CLICK).
void PressButton(const Control& control);

}  // namespace kav::widgets::win32
