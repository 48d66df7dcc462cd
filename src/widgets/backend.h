#pragma once
// What a form and its controls need from whatever shows them: real windows
// (win32/) or nothing but the model's own state (headless/).
#include <memory>
#include <string>

#include "widgets/canvas.h"
#include "widgets/types.h"

namespace kav::widgets {

class Control;
class ErrorReport;
class Form;
class Timer;

// The property of a control or form that has just changed, so that a back
// end can bring its window up to date without redoing everything. Each
// property has a notification of its own.
enum class Property {
    Caption,
    Enabled,
    Visible,
    Bounds,
    Font,
    Color,
    Checked,
    Lines,
    TopLine,
    Items,
    ItemIndex,
    Progress,
    Page,
    ShadowColor,
    ShadowSize,
    ShadowDirection,
    WordWrap,
    Transparent,
    Alignment,
    Bevel,
    Picture,
    Frame,
    Default,
    Focus,
    StayOnTop,
    CaptionBar,
};

// The back end's side of one control: its window, when it has one.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void Update(Property property) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Makes the form visible (creating its windows on first use).
    virtual void ShowForm(Form& form) = 0;
    // Creates the form's windows ahead of its first show, hidden, so that
    // the show costs only the showing. Nothing when they exist already.
    virtual void PrepareForm(Form& form) = 0;
    // Called after the form's OnShow handler has run.
    virtual void FormShown(Form& form) = 0;
    virtual void HideForm(Form& form) = 0;
    // Releases the form's windows; the model objects stay.
    virtual void DestroyForm(Form& form) = 0;
    // Returns when the form is no longer showing or the application is
    // terminating.
    virtual void RunModal(Form& form) = 0;
    // The application's run: shows `mainForm` and returns when it has
    // closed. Closing the main form ends the application.
    virtual void Run(Form& mainForm) = 0;
    // A control was added to a form whose windows exist already.
    virtual void ControlAdded(Control& control) = 0;
    // The timer was enabled, disabled or given another interval.
    virtual void TimerChanged(Timer& timer) = 0;
    // Whether the application has been asked to end.
    virtual bool Terminating() const = 0;
    // The size `text` takes in `font` on this back end's screen.
    virtual TextExtent MeasureText(const std::string& text, const Font& font) = 0;
    // Where exceptions that escape event handlers go.
    virtual ErrorReport& Errors() = 0;
};

}  // namespace kav::widgets
