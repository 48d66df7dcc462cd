#pragma once
// A control: a named, placed element of a form whose properties the program
// reads and sets. The model holds the state; a back end may mirror it in a
// window through the control's peer, or, for a windowless control, paint it
// on the window it lies on.
#include <functional>
#include <memory>
#include <string>

#include "widgets/backend.h"
#include "widgets/keys.h"
#include "widgets/types.h"

namespace kav::widgets {

class Canvas;
class ControlVisitor;
class Form;

using NotifyEvent = std::function<void()>;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    // Double dispatch to the back end's peer for each kind of control.
    virtual void Accept(ControlVisitor& visitor) = 0;
    // Panels, notebooks and group boxes hold other controls in a window of
    // their own.
    virtual bool IsContainer() const { return false; }
    // Labels, pictures and gradients have no window: they are painted on the
    // window they lie on, in creation order, below every child window.
    virtual bool Windowless() const { return false; }
    // Draws the control (a windowless control) or the decoration of a
    // container (drawn over its background, below its windowless
    // controls), with the canvas's origin at the control's top-left corner.
    virtual void Paint(Canvas&) const {}
    // Whether Tab stops at the control.
    virtual bool TabStop() const { return false; }
    // A tab stop that is showing and enabled, with its containers.
    bool CanFocus() const;
    // A key pressed while the control has the focus, before the form's own
    // rules (Tab, Enter for the default button, Escape for the cancel
    // button), which apply only to a key the control does not use. Returns
    // whether it used the key. The space bar clicks the control, as it
    // presses a button or toggles a check box.
    virtual bool HandleKey(Key key);

    const std::string& Name() const { return name_; }
    // The form the control is placed on; null until it is placed.
    Form* Owner() const { return form_; }
    // The container the control lies in, or null when it lies on the form.
    Control* Parent() const { return parent_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // "Text" is the name edit-like controls use for the same property.
    const std::string& Text() const { return caption_; }
    void SetText(const std::string& text) { SetCaption(text); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible itself and inside visible containers.
    bool Showing() const;

    const Bounds& Placement() const { return bounds_; }
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    Color GetColor() const { return color_; }
    void SetColor(Color color);
    // Asked for by the back end whenever the mouse moves over the control.
    Pointer MousePointer() const { return pointer_; }
    void SetMousePointer(Pointer pointer) { pointer_ = pointer; }

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    // What a user's click does: the control's own reaction, then OnClick.
    virtual void Click();
    void DblClick();

    // Back end use: the window that mirrors this control, if any.
    ControlPeer* Peer() const { return peer_.get(); }
    void AttachPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }
    void DetachPeer() { peer_.reset(); }

protected:
    explicit Control(std::string name);
    // Tells the back end that `property` changed.
    void Changed(Property property);
    // The caption or font changed (a label sizes itself to its text).
    virtual void TextChanged() {}
    // The control has just been placed on a form, or is leaving it.
    virtual void Placed() {}
    virtual void Unplaced() {}

private:
    friend class Form;
    void Place(Form& form, Control* parent);
    void Unplace();

    std::string name_;
    Form* form_ = nullptr;
    Control* parent_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    Bounds bounds_;
    Font font_;
    Color color_ = clBtnFace;
    Pointer pointer_ = Pointer::Default;
    std::unique_ptr<ControlPeer> peer_;
};

// A control without a window of its own (a label, a picture, a gradient).
class GraphicControl : public Control {
public:
    void Accept(ControlVisitor& visitor) override;
    bool Windowless() const override { return true; }

protected:
    explicit GraphicControl(std::string name) : Control(std::move(name)) {}
};

}  // namespace kav::widgets
