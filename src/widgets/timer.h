#pragma once
// A one-shot timer: once enabled, it fires once after its interval and is
// disabled again before its handler runs. Enabling it again re-arms it.
#include <functional>
#include <string>

namespace kav::widgets {

class Form;

class Timer {
public:
    Timer(Form& owner, std::string name, unsigned intervalMs);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    const std::string& Name() const { return name_; }
    Form& Owner() const { return owner_; }

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned intervalMs);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // A background timer (an animation) is no work the program waits for:
    // a simulated run does not let time pass just to fire it.
    bool Background() const { return background_; }
    void SetBackground(bool background) { background_ = background; }

    std::function<void()> OnTimer;

    // Back end use: the interval has passed.
    void Fire();

private:
    Form& owner_;
    std::string name_;
    unsigned interval_;
    bool enabled_ = false;
    bool background_ = false;
};

}  // namespace kav::widgets
