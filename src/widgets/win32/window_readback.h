#pragma once
// What the window system shows for a form or a control, read back from its
// window, and input as a user gives it: lets tests of the Win32 back end
// check the screen without the Windows headers.
#include <string>

#include "widgets/control.h"
#include "widgets/controls.h"
#include "widgets/headless/raster.h"
#include "widgets/keys.h"

namespace kav::widgets {
class Form;
}

namespace kav::widgets::win32 {

struct ShownState {
    bool exists = false;  // the control has a window
    std::string text;
    bool enabled = false;
    bool visible = false;  // the window's own visibility flag
    bool checked = false;  // buttons only
    bool focused = false;
};

ShownState Inspect(const Control& control);
// Clicks a button window as the user would (BM_CLICK).
void PressButton(const Control& control);
// Posts a key press to the window that has the focus, as the keyboard would.
void PostKey(Key key, bool shift = false);
// Posts a mouse click at (x, y) of the control's window, or, for a
// windowless control, of the window it lies on.
void PostClick(const Control& control, int x, int y);
void PostClickOnForm(const Form& form, int x, int y);
// Posts a click on an item of a check-list box: on its check box or on its
// text.
void PostClickOnItem(const CheckListBox& list, std::size_t index, bool onBox);
// Types `text` into the focused window, a character at a time.
void PostTyping(const std::string& text);
// The owner window of the form's window belongs to `owner`'s form.
bool OwnedBy(const Form& form, const Form& owner);
bool TopMost(const Form& form);
// The form's window is the active window.
bool Active(const Form& form);
// The colour of the form's caption at `x` (0 at its left, 1 at its right
// end of the caption bar), in its vertical middle.
Color CaptionColorAt(const Form& form, double x);
// Whether the pointer is the hand with the mouse at (x, y) of the form's
// client area, as the window answers the mouse's arrival there.
bool HandPointerAt(const Form& form, int x, int y);
// What the form's window shows now, copied from its own client area.
headless::Raster CaptureWindow(const Form& form);

}  // namespace kav::widgets::win32
