#pragma once
// The simple controls: buttons, check boxes, panels, group boxes, edits,
// memos, progress bars and check-list boxes; labels and pictures have
// headers of their own.
#include <string>
#include <vector>

#include "widgets/control.h"
#include "widgets/image.h"
#include "widgets/label.h"

namespace kav::widgets {

// The modal results a button can give its form; a form shown modally
// closes as soon as its modal result is set.
using ModalResult = int;
inline constexpr ModalResult mrNone = 0;
inline constexpr ModalResult mrOk = 1;
inline constexpr ModalResult mrCancel = 2;
inline constexpr ModalResult mrAbort = 3;
inline constexpr ModalResult mrYes = 6;
inline constexpr ModalResult mrNo = 7;
// "OK", "Cancel", "Abort", "Yes", "No"; "None" for mrNone; else the number.
std::string ModalResultName(ModalResult result);

class Button : public Control {
public:
    explicit Button(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool TabStop() const override { return true; }

    // Enter presses the form's default button, Escape its cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    // What a click sets as the form's modal result (mrNone: nothing).
    ModalResult Result() const { return result_; }
    void SetResult(ModalResult result) { result_ = result; }
    void Click() override;
    // Enter and the space bar press a focused button, whichever button is
    // the default.
    bool HandleKey(Key key) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    ModalResult result_ = mrNone;
};

class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool TabStop() const override { return true; }

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A user's click toggles the box.
    void Click() override;

private:
    bool checked_ = false;
};

class Panel : public Control {
public:
    explicit Panel(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool IsContainer() const override { return true; }
    void Paint(Canvas& canvas) const override;

    // Raised outer and inner bevels, one pixel each, as the splash panel has.
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool beveled);

private:
    bool beveled_ = false;
};

// A frame with a caption around a group of controls.
class GroupBox : public Control {
public:
    explicit GroupBox(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool IsContainer() const override { return true; }
    void Paint(Canvas& canvas) const override;
};

// A one-line edit; what the user types reaches Text.
class Edit : public Control {
public:
    explicit Edit(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool TabStop() const override { return true; }
    // The edit's keys are its own typing: a space is text, and Enter is
    // left to the form's default button.
    bool HandleKey(Key) override { return false; }

    NotifyEvent OnChange;

protected:
    void TextChanged() override {
        if (OnChange) OnChange();
    }
};

class Memo : public Control {
public:
    explicit Memo(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool TabStop() const override { return true; }

    const std::vector<std::string>& Lines() const { return lines_; }
    std::size_t LineCount() const { return lines_.size(); }
    void SetLines(std::vector<std::string> lines);
    void AddLine(const std::string& line);
    void Clear();
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Page Up and Page Down scroll by a page. A space is text, and Enter is
    // left to the form's default button.
    bool HandleKey(Key key) override;

    // The first line shown; Page Up and Page Down move it by a page.
    int TopLine() const { return topLine_; }
    void SetTopLine(int line);
    void ScrollPages(int pages);
    // How many whole lines the memo shows at once (at least one).
    int LinesPerPage() const;

private:
    std::vector<std::string> lines_;
    bool readOnly_ = true;
    int topLine_ = 0;
};

class ProgressBar : public Control {
public:
    explicit ProgressBar(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    void SetMax(int max) { SetRange(min_, max); }
    // The position as set; a window shows it limited to the range.
    int Position() const { return position_; }
    void SetPosition(int position);
    // The bar's colour; the control's colour is the background behind it.
    Color BarColor() const { return barColor_; }
    void SetBarColor(Color color);

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    Color barColor_ = clHighlight;
};

// A list with a check box per item. A click on an item's box or the space
// bar on the selected item toggles it; moving the selection does not.
class CheckListBox : public Control {
public:
    explicit CheckListBox(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool TabStop() const override { return true; }

    struct Item {
        std::string text;
        bool checked = false;
    };

    const std::vector<Item>& Items() const { return items_; }
    std::size_t Count() const { return items_.size(); }
    void Add(const std::string& text);
    void Clear();
    // Out-of-range indexes throw std::out_of_range.
    bool Checked(std::size_t index) const { return items_.at(index).checked; }
    void SetChecked(std::size_t index, bool checked);
    // What a user's click on an item's box does: toggles it, then
    // OnClickCheck.
    void Toggle(std::size_t index);
    // The index of the item with exactly this text, or -1.
    int IndexOf(const std::string& text) const;

    // The selected item, or -1.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The space bar toggles the selected item; without one it does nothing.
    bool HandleKey(Key key) override;

    NotifyEvent OnClickCheck;

private:
    std::vector<Item> items_;
    int itemIndex_ = -1;
};

}  // namespace kav::widgets
