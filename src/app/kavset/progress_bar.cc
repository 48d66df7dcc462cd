#include "app/kavset/progress_bar.h"

#include <algorithm>

namespace kav::app {

void ProgressBar::Show(const std::string& label, int percent) {
    if (!enabled_) return;
    percent = std::clamp(percent, 0, 100);
    // Redrawing on every refill would cost more than the decoding.
    if (percent == lastPercent_ && label == lastLabel_) return;
    lastPercent_ = percent;
    lastLabel_ = label;
    constexpr int kWidth = 30;
    const int filled = percent * kWidth / 100;
    out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
         << (percent < 10    ? "  "
             : percent < 100 ? " "
                             : "")
         << percent << "% " << label.substr(0, 40) << "\x1b[K" << std::flush;
    shown_ = true;
}

void ProgressBar::Clear() {
    if (!shown_) return;
    out_ << "\r\x1b[K" << std::flush;
    shown_ = false;
    lastPercent_ = -1;
}

}  // namespace kav::app
