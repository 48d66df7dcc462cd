#pragma once
// Drives a modal dialog from inside its own message loop, the way a user
// would: a thread timer fires while the dialog runs, finds the dialog shown
// by this thread, records what it shows and then acts on it (typing into its
// edit box, pressing a button). Everything stays on the one GUI thread.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kav::platform::testing {

struct DialogChild {
    std::string className;  // "Button", "Static", "Edit", ...
    std::string text;
    int id;
    RECT rect;  // in screen coordinates
    DWORD style;
};

struct DialogSnapshot {
    bool found = false;
    std::string caption;
    HWND owner = nullptr;
    std::vector<DialogChild> children;

    // The children of one class, in creation order.
    std::vector<DialogChild> OfClass(const std::string& className) const;
    // The button texts from left to right, without "&" markers.
    std::vector<std::string> ButtonTexts() const;
    // Whether some static control shows exactly `text`.
    bool ShowsText(const std::string& text) const;
};

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    // Arms the timer: the first dialog of this thread that becomes visible
    // is recorded and handed to `action`. When none appears within a few
    // seconds, a quit message ends whatever modal loop is running, so that
    // a broken test fails instead of hanging.
    explicit DialogDriver(Action action);
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver();

    const DialogSnapshot& Snapshot() const { return snapshot_; }
    bool TimedOut() const { return timedOut_; }

    // Actions.
    static void PressButton(HWND dialog, const std::string& text);
    static void SetEditText(HWND dialog, const std::string& text);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Poll();

    Action action_;
    UINT_PTR timer_;
    int ticks_ = 0;
    bool timedOut_ = false;
    DialogSnapshot snapshot_;
};

// Removes a pending quit message left by Terminate or by a timed-out
// driver, so that the next test starts with an empty queue.
void DrainQuitMessage();

}  // namespace kav::platform::testing
