#include "widgets/control.h"

#include "widgets/form.h"
#include "widgets/visitor.h"

namespace kav::widgets {

Control::Control(std::string name) : name_(std::move(name)) {}

// The peer goes first: a window must not outlive the model it mirrors.
Control::~Control() { peer_.reset(); }

void Control::Place(Form& form, Control* parent) {
    form_ = &form;
    parent_ = parent;
    Placed();
}

void Control::Unplace() {
    Unplaced();
    peer_.reset();
    form_ = nullptr;
    parent_ = nullptr;
}

void Control::Changed(Property property) {
    if (peer_) peer_->Update(property);
}

bool Control::CanFocus() const {
    if (!TabStop()) return false;
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_ || !c->enabled_) return false;
    }
    return true;
}

bool Control::HandleKey(Key key) {
    if (key != Key::Space) return false;
    Click();
    return true;
}

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed(Property::Caption);
    TextChanged();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(Property::Enabled);
    if (form_ != nullptr) form_->FocusMayHaveGone(*this);
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(Property::Visible);
    if (form_ != nullptr) form_->FocusMayHaveGone(*this);
}

bool Control::Showing() const {
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void Control::SetBounds(int left, int top, int width, int height) {
    const Bounds bounds{left, top, width, height};
    if (bounds == bounds_) return;
    bounds_ = bounds;
    Changed(Property::Bounds);
}

void Control::SetFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    Changed(Property::Font);
    TextChanged();
}

void Control::SetColor(Color color) {
    if (color == color_) return;
    color_ = color;
    Changed(Property::Color);
}

void Control::Click() {
    if (OnClick) OnClick();
}

void Control::DblClick() {
    if (OnDblClick) OnDblClick();
}

void GraphicControl::Accept(ControlVisitor& visitor) { visitor.VisitWindowless(*this); }

}  // namespace kav::widgets
