#include "widgets/controls.h"

namespace kav::widgets {

void Label::SetShadowColor(Color color) {
    if (color == shadowColor_) return;
    shadowColor_ = color;
    Changed(Property::Color);
}

void Label::SetShadowSize(int size) {
    if (size == shadowSize_) return;
    shadowSize_ = size;
    Changed(Property::Font);
}

void Label::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed(Property::Color);
}

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(Property::Checked);
}

void CheckBox::Click() {
    SetChecked(!checked_);
    Control::Click();
}

void Panel::SetBeveled(bool beveled) {
    if (beveled == beveled_) return;
    beveled_ = beveled;
    Changed(Property::Bounds);
}

void Image::ShowProgramIcon() {
    programIcon_ = true;
    pictureFile_.clear();
    Changed(Property::Caption);
}

void Image::LoadFromFile(const std::string& path) {
    programIcon_ = false;
    pictureFile_ = path;
    Changed(Property::Caption);
}

void Memo::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed(Property::Lines);
}

void Memo::AddLine(const std::string& line) {
    lines_.push_back(line);
    Changed(Property::Lines);
}

void Memo::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed(Property::Lines);
}

void ProgressBar::SetRange(int min, int max) {
    if (min == min_ && max == max_) return;
    min_ = min;
    max_ = max;
    Changed(Property::Progress);
}

void ProgressBar::SetPosition(int position) {
    if (position == position_) return;
    position_ = position;
    Changed(Property::Progress);
}

void CheckListBox::Add(const std::string& text) {
    items_.push_back(Item{text, false});
    Changed(Property::Items);
}

void CheckListBox::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed(Property::Items);
}

void CheckListBox::SetChecked(std::size_t index, bool checked) {
    Item& item = items_.at(index);
    if (item.checked == checked) return;
    item.checked = checked;
    Changed(Property::Items);
}

int CheckListBox::IndexOf(const std::string& text) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kav::widgets
