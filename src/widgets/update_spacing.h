#pragma once
// When a window's running progress is due to be drawn again. A window that
// redrew a name or a bar for each of a thousand files a second would spend
// more time painting than the work it shows takes, and nobody reads that
// fast; so progress is drawn at most every few hundredths of a second, and
// at once whenever the caller needs the latest state on the screen (a
// step's end, before a question).
#include <chrono>
#include <functional>
#include <utility>

namespace kav::widgets {

class UpdateSpacing {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kSpacing{40};

    explicit UpdateSpacing(Clock clock = std::chrono::steady_clock::now)
        : clock_(std::move(clock)) {}

    // True when an update should be drawn now; `now` forces it.
    bool Due(bool now) {
        const auto time = clock_();
        if (!now && drawnOnce_ && time - drawn_ < kSpacing) return false;
        drawnOnce_ = true;
        drawn_ = time;
        return true;
    }

private:
    Clock clock_;
    bool drawnOnce_ = false;
    std::chrono::steady_clock::time_point drawn_{};
};

}  // namespace kav::widgets
