#pragma once
// A form: a window of the program that owns its named controls and timers
// and handles their events. The model lives as long as the form object; a
// back end gives it a window while it is shown.
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "widgets/backend.h"
#include "widgets/control.h"
#include "widgets/keys.h"
#include "widgets/timer.h"
#include "widgets/types.h"

namespace kav::widgets {

enum class BorderStyle { None, Dialog, ToolWindow, Sizeable };
enum class WindowState { Normal, Maximized };
enum class FormPosition { Designed, ScreenCenter };
// What closing does with the form, as an OnClose handler may decide.
enum class CloseAction { None, Hide };

class Form {
public:
    Form(Backend& backend, std::string name, std::string caption);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& Name() const { return name_; }
    Backend& GetBackend() const { return backend_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    Color GetColor() const { return color_; }
    void SetColor(Color color);
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font) { font_ = font; }

    // The client area's placement on the screen.
    const Bounds& Placement() const { return bounds_; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetBounds(const Bounds& bounds);
    void SetClientSize(int width, int height);

    BorderStyle Border() const { return border_; }
    void SetBorder(BorderStyle border) { border_ = border; }
    WindowState State() const { return state_; }
    void SetState(WindowState state) { state_ = state; }
    FormPosition Position() const { return position_; }
    void SetPosition(FormPosition position) { position_ = position; }
    // A form that stays above every other window.
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool stayOnTop);
    // A gradient caption bar: while the window is active its caption runs
    // from the start colour on the left to the end colour on the right, the
    // caption text in the text colour, over a shadow in the shadow colour
    // where the text alone is hard to read on the bar. Windows without a
    // caption ignore it.
    struct CaptionGradient {
        bool enabled = false;
        Color start = clBlue;
        Color end = clBlack;
        Color text = clWhite;
        Color shadow = clWhite;

        bool operator==(const CaptionGradient&) const = default;
    };
    const CaptionGradient& CaptionBar() const { return captionBar_; }
    void SetCaptionBar(const CaptionGradient& captionBar);

    // Creates a control owned by this form, inside `parent` (a container of
    // this form) or directly on the form.
    template <class T, class... Args>
    T& Add(Control* parent, Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& result = *control;
        owned_.push_back(std::move(control));
        Place(result, parent);
        return result;
    }
    // Places a control that something longer-lived owns (state that must
    // outlive this form) on the form. It is detached again when the form is
    // destroyed.
    void Adopt(Control& control, Control* parent);
    Timer& AddTimer(const std::string& name, unsigned intervalMs);

    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<std::unique_ptr<Timer>>& Timers() const { return timers_; }
    // The control with this name, or null.
    Control* Find(const std::string& name) const;
    // The control with this name and type; throws std::logic_error otherwise.
    template <class T>
    T& Get(const std::string& name) const {
        T* control = dynamic_cast<T*>(Find(name));
        if (control == nullptr) throw std::logic_error("No control " + name + " on " + name_);
        return *control;
    }

    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<void(CloseAction&)> OnClose;
    std::function<void()> OnResize;
    // A click on the form's free surface.
    std::function<void()> OnClick;
    // What a user's click on the form's free surface does.
    void ClickSurface() {
        if (OnClick) OnClick();
    }

    // The control that has the keyboard focus, or null.
    Control* ActiveControl() const { return active_; }
    // Gives `control` (a control of this form that can take it) the focus.
    void SetActiveControl(Control* control);
    // Tab and Shift+Tab: the next (or previous) control that can take the
    // focus, in creation order, wrapping around.
    void SelectNext(bool forward);
    // A key pressed while the form is active. The control that has the
    // focus uses it first (Control::HandleKey); otherwise Tab and Shift+Tab
    // move the focus, Enter presses the default button and Escape the
    // cancel button. Returns whether the key was used.
    bool KeyDown(Key key, bool shift = false);
    // The showing, enabled button marked default (or cancel), or null.
    Control* DefaultButton() const;
    Control* CancelButton() const;
    // Back end use: a control that stopped being able to take the focus
    // gives it up.
    void FocusMayHaveGone(const Control& control);

    // Makes the form visible; OnShow runs each time it becomes visible.
    void Show();
    // Has the back end make the form's windows now, hidden, while nobody
    // waits for them: its first show then costs only the showing.
    void Prepare() { backend_.PrepareForm(*this); }
    // Shows the form and returns when it has closed (or the application is
    // ending), with the modal result set meanwhile.
    int ShowModal();
    // Runs OnClose; unless that answers CloseAction::None, hides the form,
    // which ends a modal run of it (or, for the main form, the application).
    void Close();
    void Hide();

    bool Visible() const { return visible_; }
    bool InModalRun() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    // A form shown modally closes as soon as it is given a modal result
    // other than 0, unless its OnClose handler keeps it open (then the
    // result goes back to 0).
    void SetModalResult(int result);

    // Back end use: the form's own window, if any.
    ControlPeer* Peer() const { return peer_.get(); }
    void AttachPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }
    void DetachPeer() { peer_.reset(); }
    // Back end use: the window system moved or sized the form.
    void BoundsChanged(const Bounds& bounds);

protected:
    // Derived forms call this once their controls exist.
    void Created();

private:
    void Place(Control& control, Control* parent);

    Backend& backend_;
    std::string name_;
    std::string caption_;
    Color color_ = clBtnFace;
    Font font_;
    Bounds bounds_;
    BorderStyle border_ = BorderStyle::Sizeable;
    WindowState state_ = WindowState::Normal;
    FormPosition position_ = FormPosition::Designed;
    bool stayOnTop_ = false;
    CaptionGradient captionBar_;
    Control* active_ = nullptr;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    std::vector<Control*> adopted_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::unique_ptr<ControlPeer> peer_;
    bool visible_ = false;
    bool modal_ = false;
    bool closing_ = false;
    int modalResult_ = 0;
};

}  // namespace kav::widgets
