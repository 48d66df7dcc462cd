#include "widgets/controls.h"

#include <algorithm>
#include <stdexcept>

#include "widgets/canvas.h"
#include "widgets/form.h"
#include "widgets/visitor.h"

namespace kav::widgets {
namespace {

constexpr Color clBtnHighlight = 0x80000014;
constexpr Color clBtnShadow = 0x80000010;

// A one-pixel frame: `topLeft` on the top and left edges, `bottomRight` on
// the others.
void DrawFrame(Canvas& canvas, const Bounds& b, Color topLeft, Color bottomRight) {
    canvas.FillRect(Bounds{b.left, b.top, b.width, 1}, topLeft);
    canvas.FillRect(Bounds{b.left, b.top, 1, b.height}, topLeft);
    canvas.FillRect(Bounds{b.left, b.top + b.height - 1, b.width, 1}, bottomRight);
    canvas.FillRect(Bounds{b.left + b.width - 1, b.top, 1, b.height}, bottomRight);
}

}  // namespace

std::string ModalResultName(ModalResult result) {
    switch (result) {
        case mrNone:
            return "None";
        case mrOk:
            return "OK";
        case mrCancel:
            return "Cancel";
        case mrAbort:
            return "Abort";
        case mrYes:
            return "Yes";
        case mrNo:
            return "No";
        default:
            return std::to_string(result);
    }
}

void Button::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void CheckBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void Panel::Accept(ControlVisitor& visitor) { visitor.VisitContainer(*this); }
void GroupBox::Accept(ControlVisitor& visitor) { visitor.VisitContainer(*this); }
void Edit::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void Memo::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void ProgressBar::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void CheckListBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }

void Button::SetDefault(bool isDefault) {
    if (isDefault == default_) return;
    default_ = isDefault;
    Changed(Property::Default);
}

// The modal result is set before OnClick runs, so that a handler may still
// change or clear it.
void Button::Click() {
    if (result_ != mrNone && Owner() != nullptr) Owner()->SetModalResult(result_);
    Control::Click();
}

bool Button::HandleKey(Key key) {
    if (key != Key::Enter && key != Key::Space) return false;
    Click();
    return true;
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
    Changed(Property::Bevel);
}

void Panel::Paint(Canvas& canvas) const {
    if (!beveled_) return;
    DrawFrame(canvas, Bounds{0, 0, Width(), Height()}, clBtnHighlight, clBtnShadow);
    DrawFrame(canvas, Bounds{1, 1, Width() - 2, Height() - 2}, clBtnHighlight, clBtnShadow);
}

void GroupBox::Paint(Canvas& canvas) const {
    const TextExtent text = canvas.MeasureText(Caption(), GetFont());
    const int top = text.height / 2;
    // An etched frame: a shadow line with a highlight line inside it.
    DrawFrame(canvas, Bounds{0, top, Width() - 1, Height() - top - 1}, clBtnShadow, clBtnShadow);
    DrawFrame(canvas, Bounds{1, top + 1, Width() - 1, Height() - top - 1}, clBtnHighlight,
              clBtnHighlight);
    if (Caption().empty()) return;
    canvas.FillRect(Bounds{6, 0, text.width + 4, text.height}, GetColor());
    canvas.DrawText(8, 0, Caption(), GetFont(), GetFont().color);
}

void Memo::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed(Property::Lines);
    SetTopLine(topLine_);
}

void Memo::AddLine(const std::string& line) {
    lines_.push_back(line);
    Changed(Property::Lines);
}

void Memo::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed(Property::Lines);
    SetTopLine(0);
}

int Memo::LinesPerPage() const {
    if (Owner() == nullptr) return 1;
    const int lineHeight = Owner()->GetBackend().MeasureText("", GetFont()).height;
    return lineHeight > 0 ? std::max(1, Height() / lineHeight) : 1;
}

void Memo::SetTopLine(int line) {
    const int last = std::max(0, static_cast<int>(lines_.size()) - LinesPerPage());
    line = std::clamp(line, 0, last);
    if (line == topLine_) return;
    topLine_ = line;
    Changed(Property::TopLine);
}

void Memo::ScrollPages(int pages) { SetTopLine(topLine_ + pages * LinesPerPage()); }

bool Memo::HandleKey(Key key) {
    if (key != Key::PageUp && key != Key::PageDown) return false;
    ScrollPages(key == Key::PageDown ? 1 : -1);
    return true;
}

void ProgressBar::SetRange(int min, int max) {
    if (min == min_ && max == max_) return;
    min_ = min;
    max_ = max;
    Changed(Property::Progress);
}

void ProgressBar::SetBarColor(Color color) {
    if (color == barColor_) return;
    barColor_ = color;
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
    itemIndex_ = -1;
    Changed(Property::Items);
}

void CheckListBox::SetChecked(std::size_t index, bool checked) {
    Item& item = items_.at(index);
    if (item.checked == checked) return;
    item.checked = checked;
    Changed(Property::Items);
}

void CheckListBox::Toggle(std::size_t index) {
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck();
}

bool CheckListBox::HandleKey(Key key) {
    if (key != Key::Space || itemIndex_ < 0) return false;
    Toggle(static_cast<std::size_t>(itemIndex_));
    return true;
}

void CheckListBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) {
        throw std::out_of_range("Check-list box " + Name() + " has no item " +
                                std::to_string(index));
    }
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Changed(Property::ItemIndex);
}

int CheckListBox::IndexOf(const std::string& text) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kav::widgets
