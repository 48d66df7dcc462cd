#include "widgets/form.h"

#include <algorithm>

#include "widgets/controls.h"

namespace kav::widgets {

Form::Form(Backend& backend, std::string name, std::string caption)
    : backend_(backend), name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() {
    backend_.DestroyForm(*this);
    // Adopted controls live on; they must not keep pointing at this form.
    for (Control* c : adopted_) c->Unplace();
    // Children go before their containers.
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) it->reset();
}

void Form::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (peer_) peer_->Update(Property::Caption);
}

void Form::SetColor(Color color) {
    if (color == color_) return;
    color_ = color;
    if (peer_) peer_->Update(Property::Color);
}

void Form::SetBounds(const Bounds& bounds) {
    if (bounds == bounds_) return;
    bounds_ = bounds;
    if (peer_) peer_->Update(Property::Bounds);
    if (OnResize) OnResize();
}

void Form::SetClientSize(int width, int height) {
    SetBounds(Bounds{bounds_.left, bounds_.top, width, height});
}

void Form::BoundsChanged(const Bounds& bounds) {
    if (bounds == bounds_) return;
    bounds_ = bounds;
    if (OnResize) OnResize();
}

void Form::Place(Control& control, Control* parent) {
    if (parent != nullptr && (parent->Owner() != this || !parent->IsContainer())) {
        throw std::logic_error("Control " + control.Name() + " needs a container of " + name_);
    }
    control.Place(*this, parent);
    controls_.push_back(&control);
    backend_.ControlAdded(control);
}

void Form::Adopt(Control& control, Control* parent) {
    if (control.Owner() != nullptr) {
        throw std::logic_error("Control " + control.Name() + " already lies on a form");
    }
    adopted_.push_back(&control);
    Place(control, parent);
}

Timer& Form::AddTimer(const std::string& name, unsigned intervalMs) {
    timers_.push_back(std::make_unique<Timer>(*this, name, intervalMs));
    return *timers_.back();
}

Control* Form::Find(const std::string& name) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [&](const Control* c) { return c->Name() == name; });
    return it == controls_.end() ? nullptr : *it;
}

void Form::Created() {
    if (OnCreate) OnCreate();
}

void Form::Show() {
    if (visible_) return;
    visible_ = true;
    // The first control that can take the focus has it when a form opens.
    if (active_ == nullptr || !active_->CanFocus()) {
        active_ = nullptr;
        SelectNext(true);
    }
    backend_.ShowForm(*this);
    if (OnShow) OnShow();
    if (visible_) backend_.FormShown(*this);
}

int Form::ShowModal() {
    if (modal_) throw std::logic_error("Form " + name_ + " is already shown modally");
    modal_ = true;
    modalResult_ = 0;
    struct ModalEnd {
        bool& flag;
        ~ModalEnd() { flag = false; }
    } end{modal_};
    Show();
    if (visible_) backend_.RunModal(*this);
    // A run cut short by the application's end still leaves the form hidden.
    if (visible_) Hide();
    return modalResult_;
}

void Form::Close() {
    if (closing_) return;
    closing_ = true;
    struct ClosingEnd {
        bool& flag;
        ~ClosingEnd() { flag = false; }
    } end{closing_};
    CloseAction action = CloseAction::Hide;
    if (OnClose) OnClose(action);
    if (action == CloseAction::None) return;
    Hide();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    backend_.HideForm(*this);
}

void Form::SetStayOnTop(bool stayOnTop) {
    if (stayOnTop == stayOnTop_) return;
    stayOnTop_ = stayOnTop;
    if (peer_) peer_->Update(Property::StayOnTop);
}

void Form::SetCaptionBar(const CaptionGradient& captionBar) {
    if (captionBar == captionBar_) return;
    captionBar_ = captionBar;
    if (peer_) peer_->Update(Property::CaptionBar);
}

void Form::SetModalResult(int result) {
    modalResult_ = result;
    if (result == 0 || !modal_ || !visible_) return;
    Close();
    if (visible_) modalResult_ = 0;
}

void Form::SetActiveControl(Control* control) {
    if (control != nullptr && (control->Owner() != this || !control->CanFocus())) {
        throw std::logic_error("Control " + control->Name() + " cannot take the focus on " + name_);
    }
    if (control == active_) return;
    active_ = control;
    if (peer_) peer_->Update(Property::Focus);
}

void Form::SelectNext(bool forward) {
    const auto count = static_cast<std::ptrdiff_t>(controls_.size());
    if (count == 0) return;
    std::ptrdiff_t start = -1;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        if (controls_[static_cast<std::size_t>(i)] == active_) start = i;
    }
    if (start < 0) start = forward ? -1 : count;
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t i = ((start + (forward ? step : -step)) % count + count) % count;
        Control* candidate = controls_[static_cast<std::size_t>(i)];
        if (candidate->CanFocus()) {
            SetActiveControl(candidate);
            return;
        }
    }
}

void Form::FocusMayHaveGone(const Control& control) {
    if (active_ == nullptr) return;
    for (const Control* c = active_; c != nullptr; c = c->Parent()) {
        if (c == &control && !active_->CanFocus()) {
            active_ = nullptr;
            return;
        }
    }
}

namespace {

Control* MarkedButton(const std::vector<Control*>& controls, bool (Button::*marked)() const) {
    for (Control* c : controls) {
        auto* button = dynamic_cast<Button*>(c);
        if (button != nullptr && (button->*marked)() && button->Showing() && button->Enabled()) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

Control* Form::DefaultButton() const { return MarkedButton(controls_, &Button::Default); }

Control* Form::CancelButton() const { return MarkedButton(controls_, &Button::Cancel); }

bool Form::KeyDown(Key key, bool shift) {
    if (active_ != nullptr && !active_->CanFocus()) active_ = nullptr;
    if (active_ != nullptr && active_->HandleKey(key)) return true;
    Control* target = nullptr;
    switch (key) {
        case Key::Tab:
            SelectNext(!shift);
            return true;
        case Key::Enter:
            target = DefaultButton();
            break;
        case Key::Escape:
            target = CancelButton();
            break;
        default:
            break;
    }
    if (target == nullptr) return false;
    target->Click();
    return true;
}

}  // namespace kav::widgets
