#pragma once
// The uninstaller's window while it removes: what it is removing now, and
// a progress bar.
#include <string>

#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/label.h"

namespace kav::app {

class TUninstallProgress : public widgets::Form {
public:
    TUninstallProgress(widgets::Backend& backend, const std::string& title);

    // Shows the item and moves the bar to done of total.
    void Step(const std::string& item, int done, int total);

    widgets::Label& Label1;
    widgets::Panel& GaugePanel;
    widgets::ProgressBar& ProgressBar1;
};

// The closing message: what was removed, what was left and why, and
// whether Windows must restart to finish.
std::string ClosingMessage(const std::string& title, std::size_t removed,
                           const std::vector<std::string>& leftovers, bool restartNeeded);

}  // namespace kav::app
