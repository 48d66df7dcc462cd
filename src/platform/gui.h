#pragma once
// The toolkit services that the program's windows and stages use directly:
// modal message boxes and dialogs, the mouse cursor, and the message pump.
// Windows and controls themselves are the widgets' business.
#include <string>

namespace kav::platform {

enum class Cursor { Default, HourGlass };

enum class WarningAnswer { No, Abort };

class Gui {
public:
    virtual ~Gui() = default;

    // A modal message box with the application title "KAV - Setup" as its
    // caption, `text`, and one OK button. Returns when it is dismissed.
    virtual void ShowMessage(const std::string& text) = 0;
    // A confirmation box with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The standard warning dialog: caption "Warning", a warning icon,
    // `text`, and the buttons No and Abort in this order.
    virtual WarningAnswer AskWarning(const std::string& text) = 0;
    // An error message box with OK and Cancel (the segment reader's mount
    // box); true for OK. Back ends without an error box of their own fall
    // back to the confirmation box, Yes standing for OK.
    virtual bool AskOkCancel(const std::string& text) { return AskYesNo(text); }
    // The one-line input dialog: `caption`, `prompt`, an edit box holding
    // `value`, OK and Cancel. On OK returns true with `value` replaced by the
    // edited text; on Cancel returns false and leaves `value` unchanged.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value) = 0;
    // Sets the mouse cursor shown over the program's windows.
    virtual void SetCursor(Cursor cursor) = 0;
    // The cursor set last (the arrow until one is set), so that whoever
    // changes it for a while can put it back.
    virtual Cursor ShownCursor() const { return Cursor::Default; }
    // Processes the window messages pending now, then returns.
    virtual void ProcessMessages() = 0;
    // Asks the application to end: the current modal loops return and no
    // further modal dialog waits for the user.
    virtual void Terminate() = 0;
    // Whether Terminate has been asked for.
    virtual bool Terminated() const = 0;
    // Who gave the answer to the last question asked: "user", unless a
    // layer between the program and the user answers for the user (an
    // unattended run's "default" or "/ANSWER").
    virtual std::string LastAnswerBy() const { return "user"; }
};

}  // namespace kav::platform
