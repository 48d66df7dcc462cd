#pragma once
// A one-line progress bar on a terminal; silent when not enabled.
#include <ostream>
#include <string>

namespace kav::app {

class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    void Show(const std::string& label, int percent);
    // Removes the bar so that a message can take the line.
    void Clear();

private:
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    int lastPercent_ = -1;
    std::string lastLabel_;
};

}  // namespace kav::app
