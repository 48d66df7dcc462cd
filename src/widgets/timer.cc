#include "widgets/timer.h"

#include "widgets/form.h"

namespace kav::widgets {

Timer::Timer(Form& owner, std::string name, unsigned intervalMs)
    : owner_(owner), name_(std::move(name)), interval_(intervalMs) {}

// A timer that goes while armed must not fire into freed memory.
Timer::~Timer() { SetEnabled(false); }

void Timer::SetInterval(unsigned intervalMs) {
    if (intervalMs == interval_) return;
    interval_ = intervalMs;
    if (enabled_) owner_.GetBackend().TimerChanged(*this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    owner_.GetBackend().TimerChanged(*this);
}

void Timer::Fire() {
    if (!enabled_) return;
    SetEnabled(false);
    if (OnTimer) OnTimer();
}

}  // namespace kav::widgets
