#pragma once
// One visit per kind of control: a back end makes the peer of each kind in
// its own visit, so that a new kind of control cannot be forgotten by one of
// them.
namespace kav::widgets {

class Control;
class Button;
class CheckBox;
class RadioButton;
class Edit;
class Memo;
class ProgressBar;
class CheckListBox;
class ListBox;
class ComboBox;

class ControlVisitor {
public:
    virtual ~ControlVisitor() = default;
    // Labels, pictures, gradients: painted on the window they lie on.
    virtual void VisitWindowless(Control& control) = 0;
    // Panels, notebooks, group boxes: windows that hold other controls.
    virtual void VisitContainer(Control& container) = 0;
    virtual void Visit(Button& button) = 0;
    virtual void Visit(CheckBox& box) = 0;
    virtual void Visit(RadioButton& button) = 0;
    virtual void Visit(Edit& edit) = 0;
    virtual void Visit(Memo& memo) = 0;
    virtual void Visit(ProgressBar& bar) = 0;
    virtual void Visit(CheckListBox& list) = 0;
    virtual void Visit(ListBox& list) = 0;
    virtual void Visit(ComboBox& box) = 0;
};

}  // namespace kav::widgets
