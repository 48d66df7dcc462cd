#pragma once
// The simple controls: labels, buttons, check boxes, panels, pictures,
// memos, progress bars and check-list boxes.
#include <string>
#include <vector>

#include "widgets/control.h"

namespace kav::widgets {

class Label : public Control {
public:
    explicit Label(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::Label; }

    // Shadowed labels draw their text a second time, offset, in this colour.
    Color ShadowColor() const { return shadowColor_; }
    void SetShadowColor(Color color);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int size);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

private:
    Color shadowColor_ = clWhite;
    int shadowSize_ = 0;
    bool transparent_ = false;
};

class Button : public Control {
public:
    explicit Button(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::Button; }
};

class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::CheckBox; }

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
    ControlKind Kind() const override { return ControlKind::Panel; }
    bool IsContainer() const override { return true; }

    // Raised one-pixel bevels, as the splash panel has.
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool beveled);

private:
    bool beveled_ = false;
};

// A picture: the program's own icon or a picture file.
class Image : public Control {
public:
    explicit Image(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::Image; }

    bool ShowsProgramIcon() const { return programIcon_; }
    void ShowProgramIcon();
    const std::string& PictureFile() const { return pictureFile_; }
    void LoadFromFile(const std::string& path);

private:
    bool programIcon_ = false;
    std::string pictureFile_;
};

class Memo : public Control {
public:
    explicit Memo(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::Memo; }

    const std::vector<std::string>& Lines() const { return lines_; }
    std::size_t LineCount() const { return lines_.size(); }
    void SetLines(std::vector<std::string> lines);
    void AddLine(const std::string& line);
    void Clear();
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    std::vector<std::string> lines_;
    bool readOnly_ = true;
};

class ProgressBar : public Control {
public:
    explicit ProgressBar(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::ProgressBar; }

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    void SetMax(int max) { SetRange(min_, max); }
    // The position as set; a window shows it limited to the range.
    int Position() const { return position_; }
    void SetPosition(int position);

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

class CheckListBox : public Control {
public:
    explicit CheckListBox(std::string name) : Control(std::move(name)) {}
    ControlKind Kind() const override { return ControlKind::CheckListBox; }

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
    // What a user's click on an item's box does.
    void Toggle(std::size_t index) { SetChecked(index, !Checked(index)); }
    // The index of the item with exactly this text, or -1.
    int IndexOf(const std::string& text) const;

private:
    std::vector<Item> items_;
};

}  // namespace kav::widgets
