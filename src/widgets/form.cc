#include "widgets/form.h"

#include <algorithm>

namespace kav::widgets {

Form::Form(Backend& backend, std::string name, std::string caption)
    : backend_(backend), name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() {
    backend_.DestroyForm(*this);
    // Adopted controls live on; they must not keep pointing at this form.
    for (Control* c : adopted_) {
        c->DetachPeer();
        c->form_ = nullptr;
        c->parent_ = nullptr;
    }
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

}  // namespace kav::widgets
