#pragma once
// The application's error report, one policy for every window of every back
// end: an exception of the program's own (kav::Exception) that escapes an
// event handler is shown to the user in a message box and the message loop
// goes on, as a Windows program's framework does by default. Anything else
// is a fault of the program (a control looked up by a wrong name, a failed
// allocation): it is not dressed up as a user-facing failure but leaves the
// message loop. Tests may ask for every exception to be rethrown.
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace kav::widgets {

class ErrorReport {
public:
    using Display = std::function<void(const std::string& message)>;

    explicit ErrorReport(Display display) : display_(std::move(display)) {}

    // Runs an event handler under the policy.
    template <class Handler>
    void Guard(Handler&& handler) {
        try {
            handler();
        } catch (...) {
            Handle(std::current_exception());
        }
    }
    // Reports `error` or rethrows it, by the policy.
    void Handle(std::exception_ptr error);

    // Replaces the message box (a test records the messages instead).
    void SetDisplay(Display display) { display_ = std::move(display); }
    const Display& GetDisplay() const { return display_; }
    // The test switch: every exception leaves the message loop.
    void SetRethrow(bool rethrow) { rethrow_ = rethrow; }
    // The messages reported so far.
    const std::vector<std::string>& Reported() const { return reported_; }

private:
    Display display_;
    bool rethrow_ = false;
    std::vector<std::string> reported_;
};

}  // namespace kav::widgets
