#pragma once
// A control: a named, placed element of a form whose properties the program
// reads and sets. The model holds the state; a back end may mirror it in a
// window through the control's peer.
#include <functional>
#include <memory>
#include <string>

#include "widgets/backend.h"
#include "widgets/types.h"

namespace kav::widgets {

class Form;

using NotifyEvent = std::function<void()>;

// The kinds a back end needs to tell apart when it builds a window.
enum class ControlKind {
    Label,
    Button,
    CheckBox,
    RadioButton,
    Panel,
    Image,
    Memo,
    ProgressBar,
    CheckListBox,
    Notebook,
    Gradient,
};

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    virtual ControlKind Kind() const = 0;
    // Panels and notebooks hold other controls in a window of their own.
    virtual bool IsContainer() const { return false; }

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

private:
    friend class Form;
    void Place(Form& form, Control* parent);

    std::string name_;
    Form* form_ = nullptr;
    Control* parent_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    Bounds bounds_;
    Font font_;
    Color color_ = clBtnFace;
    std::unique_ptr<ControlPeer> peer_;
};

}  // namespace kav::widgets
