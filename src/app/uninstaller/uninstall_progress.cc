#include "app/uninstaller/uninstall_progress.h"

namespace kav::app {

namespace {

constexpr int kClientWidth = 380;
constexpr int kClientHeight = 96;
// Leftovers named in the message box; the log has them all.
constexpr std::size_t kListedLeftovers = 12;

}  // namespace

TUninstallProgress::TUninstallProgress(widgets::Backend& backend, const std::string& title)
    : Form(backend, "UninstallProgress", "Uninstall " + title),
      Label1(Add<widgets::Label>(nullptr, "Label1")),
      GaugePanel(Add<widgets::Panel>(nullptr, "GaugePanel")),
      ProgressBar1(Add<widgets::ProgressBar>(&GaugePanel, "ProgressBar1")) {
    SetBorder(widgets::BorderStyle::ToolWindow);
    SetPosition(widgets::FormPosition::ScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);
    Label1.SetAutoSize(false);
    Label1.SetWordWrap(true);
    Label1.SetTransparent(true);
    Label1.SetBounds(12, 8, kClientWidth - 24, 44);
    Label1.SetCaption("Removing " + title);
    GaugePanel.SetBounds(12, 60, kClientWidth - 24, 21);
    GaugePanel.SetBeveled(false);
    ProgressBar1.SetBounds(1, 1, kClientWidth - 26, 19);
    ProgressBar1.SetColor(widgets::clBtnFace);
    Created();
}

void TUninstallProgress::Step(const std::string& item, int done, int total) {
    Label1.SetCaption("Removing " + item);
    ProgressBar1.SetRange(0, total > 0 ? total : 1);
    ProgressBar1.SetPosition(done);
}

std::string ClosingMessage(const std::string& title, std::size_t removed,
                           const std::vector<std::string>& leftovers, bool restartNeeded) {
    std::string text = title + " has been removed (" + std::to_string(removed) + " items).";
    if (!leftovers.empty()) {
        text += "\r\n\r\nLeft in place:";
        for (std::size_t i = 0; i < leftovers.size() && i < kListedLeftovers; ++i) {
            text += "\r\n" + leftovers[i];
        }
        if (leftovers.size() > kListedLeftovers) {
            text += "\r\n... and " + std::to_string(leftovers.size() - kListedLeftovers) +
                    " more, listed in the log.";
        }
    }
    if (restartNeeded) {
        text +=
            "\r\n\r\nFiles in use, and this uninstaller itself, which cannot delete its own "
            "file while it runs, will be removed when Windows restarts. Restart Windows to "
            "finish.";
    }
    return text;
}

}  // namespace kav::app
