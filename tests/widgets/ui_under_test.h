#pragma once
// A back end with a user at it, for the widget conformance suite: the same
// forms and the same input give the same observable results headless and
// on real windows. Input goes the way a user's goes: the headless user acts
// on the model, the Win32 user posts keyboard and mouse messages.
#include <memory>
#include <string>

#include "widgets/backend.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/keys.h"

namespace kav::widgets::testing {

class UiUnderTest {
public:
    virtual ~UiUnderTest() = default;

    virtual Backend& GetBackend() = 0;
    virtual void PressKey(Key key, Form& form, bool shift = false) = 0;
    virtual void ClickButton(Control& button) = 0;
    // A click on an item's check box, or on its text.
    virtual void ClickItemBox(CheckListBox& list, std::size_t index) = 0;
    virtual void ClickItemText(CheckListBox& list, std::size_t index) = 0;
    // Typing into the control that has the focus.
    virtual void Type(Form& form, const std::string& text) = 0;
    virtual void ClickSurface(Form& form, int x, int y) = 0;
    // Lets pending input and timers reach the program once.
    virtual void ProcessMessages() = 0;
    // The control the window system shows with the focus.
    virtual Control* ShownFocus(Form& form) = 0;
};

std::unique_ptr<UiUnderTest> MakeUiUnderTest();

}  // namespace kav::widgets::testing
