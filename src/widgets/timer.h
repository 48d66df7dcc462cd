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

    const std::string& Name() const { return name_; }
    Form& Owner() const { return owner_; }

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned intervalMs);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;

    // Back end use: the interval has passed.
    void Fire();

private:
    Form& owner_;
    std::string name_;
    unsigned interval_;
    bool enabled_ = false;
};

}  // namespace kav::widgets
