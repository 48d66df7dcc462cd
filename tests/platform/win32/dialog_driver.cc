#include "dialog_driver.h"

#include <algorithm>

namespace kav::platform::testing {
namespace {

constexpr UINT kTickMilliseconds = 20;
constexpr int kGiveUpTicks = 250;  // five seconds

DialogDriver* activeDriver = nullptr;

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    const int length = ::GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

std::string ClassName(HWND window) {
    char buffer[256] = {};
    const int length = ::GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

bool SameClass(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string WithoutAccelerators(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM result) {
    if (SameClass(ClassName(window), "#32770") && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK RecordChild(HWND child, LPARAM snapshot) {
    DialogChild entry{ClassName(child),
                      WindowText(child),
                      ::GetDlgCtrlID(child),
                      {},
                      static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE))};
    ::GetWindowRect(child, &entry.rect);
    reinterpret_cast<DialogSnapshot*>(snapshot)->children.push_back(entry);
    return TRUE;
}

HWND ChildWithText(HWND dialog, const std::string& className, const std::string& text) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (SameClass(ClassName(child), className) &&
            (text.empty() || WithoutAccelerators(WindowText(child)) == text)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<DialogChild> DialogSnapshot::OfClass(const std::string& className) const {
    std::vector<DialogChild> matching;
    for (const DialogChild& child : children) {
        if (SameClass(child.className, className)) matching.push_back(child);
    }
    return matching;
}

std::vector<std::string> DialogSnapshot::ButtonTexts() const {
    std::vector<DialogChild> buttons = OfClass("Button");
    std::sort(buttons.begin(), buttons.end(),
              [](const DialogChild& a, const DialogChild& b) { return a.rect.left < b.rect.left; });
    std::vector<std::string> texts;
    for (const DialogChild& button : buttons) texts.push_back(WithoutAccelerators(button.text));
    return texts;
}

bool DialogSnapshot::ShowsText(const std::string& text) const {
    for (const DialogChild& child : OfClass("Static")) {
        if (child.text == text) return true;
    }
    return false;
}

DialogDriver::DialogDriver(Action action) : action_(std::move(action)) {
    activeDriver = this;
    timer_ = ::SetTimer(nullptr, 0, kTickMilliseconds, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver() {
    if (timer_) ::KillTimer(nullptr, timer_);
    activeDriver = nullptr;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    try {
        if (activeDriver) activeDriver->Poll();
    } catch (...) {
        // Nothing may unwind into the dialog manager's loop; the test sees
        // the missing snapshot instead.
    }
}

void DialogDriver::Poll() {
    if (snapshot_.found) return;
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleDialog,
                        reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        if (++ticks_ >= kGiveUpTicks) {
            timedOut_ = true;
            ::KillTimer(nullptr, timer_);
            timer_ = 0;
            ::PostQuitMessage(0);
        }
        return;
    }
    ::KillTimer(nullptr, timer_);
    timer_ = 0;
    snapshot_.found = true;
    snapshot_.caption = WindowText(dialog);
    snapshot_.owner = ::GetWindow(dialog, GW_OWNER);
    ::EnumChildWindows(dialog, &RecordChild, reinterpret_cast<LPARAM>(&snapshot_));
    action_(dialog);
}

void DialogDriver::PressButton(HWND dialog, const std::string& text) {
    if (HWND button = ChildWithText(dialog, "Button", text)) {
        ::SendMessageA(button, BM_CLICK, 0, 0);
    }
}

void DialogDriver::SetEditText(HWND dialog, const std::string& text) {
    if (HWND edit = ChildWithText(dialog, "Edit", "")) ::SetWindowTextA(edit, text.c_str());
}

void DrainQuitMessage() {
    MSG message{};
    while (::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace kav::platform::testing
