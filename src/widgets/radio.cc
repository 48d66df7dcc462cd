#include "widgets/radio.h"

#include <algorithm>

#include "widgets/visitor.h"

namespace kav::widgets {

void RadioButton::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }

bool RadioButton::TabStop() const {
    return checked_ || group_ == nullptr || group_->CheckedButton() == nullptr;
}

RadioButton::~RadioButton() {
    if (group_ != nullptr) group_->Remove(*this);
}

void RadioButton::SetCheckedState(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(Property::Checked);
}

void RadioButton::SetChecked(bool checked) {
    if (group_ == nullptr) {
        SetCheckedState(checked);
        return;
    }
    if (checked) {
        group_->CheckOnly(*this);
        return;
    }
    if (!checked_) return;
    if (RadioButton* next = group_->Successor(*this)) {
        group_->CheckOnly(*next);
    } else {
        SetCheckedState(false);
    }
}

void RadioButton::Click() {
    SetChecked(true);
    Control::Click();
}

RadioGroup::~RadioGroup() {
    for (RadioButton* b : buttons_) b->group_ = nullptr;
}

void RadioGroup::Add(RadioButton& button) {
    if (button.group_ == this) return;
    if (button.group_ != nullptr) button.group_->Remove(button);
    if (button.Checked() && CheckedButton() != nullptr) button.SetCheckedState(false);
    buttons_.push_back(&button);
    button.group_ = this;
}

void RadioGroup::Remove(RadioButton& button) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), &button), buttons_.end());
    if (fallback_ == &button) fallback_ = nullptr;
    button.group_ = nullptr;
}

RadioButton* RadioGroup::CheckedButton() const {
    for (RadioButton* b : buttons_) {
        if (b->Checked()) return b;
    }
    return nullptr;
}

void RadioGroup::CheckOnly(RadioButton& button) {
    // Unchecked first, so that a peer never shows two checked at once.
    for (RadioButton* b : buttons_) {
        if (b != &button) b->SetCheckedState(false);
    }
    button.SetCheckedState(true);
}

RadioButton* RadioGroup::Successor(const RadioButton& button) const {
    if (fallback_ != nullptr && fallback_ != &button) return fallback_;
    for (RadioButton* b : buttons_) {
        if (b != &button) return b;
    }
    return nullptr;
}

}  // namespace kav::widgets
