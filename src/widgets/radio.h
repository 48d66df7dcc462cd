#pragma once
// Radio buttons and the groups in which exactly one of them is checked.
#include <string>
#include <vector>

#include "widgets/control.h"

namespace kav::widgets {

class RadioGroup;

class RadioButton : public Control {
public:
    explicit RadioButton(std::string name) : Control(std::move(name)) {}
    ~RadioButton() override;
    void Accept(ControlVisitor& visitor) override;
    // Tab stops at the checked button of a group only, as in a dialog.
    bool TabStop() const override;

    bool Checked() const { return checked_; }
    // Checking a grouped button unchecks the others. Unchecking the checked
    // button of a group hands the check to the group's fallback, so that
    // the group never ends up with none checked.
    void SetChecked(bool checked);
    // A user's click checks the button.
    void Click() override;

    RadioGroup* Group() const { return group_; }

private:
    friend class RadioGroup;
    void SetCheckedState(bool checked);

    bool checked_ = false;
    RadioGroup* group_ = nullptr;
};

class RadioGroup {
public:
    RadioGroup() = default;
    RadioGroup(const RadioGroup&) = delete;
    RadioGroup& operator=(const RadioGroup&) = delete;
    ~RadioGroup();

    // Joins `button` to the group. When the group already has a checked
    // button and `button` is checked too, `button` is unchecked.
    void Add(RadioButton& button);
    // The button that takes the check when the checked one is unchecked;
    // without one, the first other button of the group does.
    void SetFallback(RadioButton& button) { fallback_ = &button; }
    RadioButton* CheckedButton() const;
    const std::vector<RadioButton*>& Buttons() const { return buttons_; }

private:
    friend class RadioButton;
    void Remove(RadioButton& button);
    void CheckOnly(RadioButton& button);
    RadioButton* Successor(const RadioButton& button) const;

    std::vector<RadioButton*> buttons_;
    RadioButton* fallback_ = nullptr;
};

}  // namespace kav::widgets
