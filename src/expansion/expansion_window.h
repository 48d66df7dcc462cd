#pragma once
// TUnzip: the expansion stage's window. It drives the segment reader over the
// installation set in the source directory, puts every file flat into the
// run's temporary directory, asks for the next disk, shows progress and the
// installation's picture (the main screen shows it), and lets the user
// abort.
#include <cstdint>
#include <string>

#include "archive/set_reader.h"
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/update_spacing.h"

namespace kav::expansion {

// A stored name that cannot be placed flat in the temporary directory.
class EUnplaceableName : public kav::Exception {
public:
    explicit EUnplaceableName(const std::string& stored)
        : kav::Exception("The file name of entry \"" + stored +
                         "\" cannot be placed in the temporary directory") {}
};

class TUnzip : public widgets::Form {
public:
    TUnzip(widgets::Backend& backend, platform::Machine& machine, setup::RunState& run,
           setup::TMainSetup& mainScreen);

    // Event handlers.
    void FormShow();
    void Timer1Timer();
    void FormClick();
    void FormClose(widgets::CloseAction& action);
    void SegCompEZ1SegBefore(archive::TSegMode SegMode, const std::string& SegName,
                             std::uint16_t SegNumber);
    void SegCompEZ1CheckFile(std::string& filepath, archive::TCProcessMode mode);
    void SegCompEZ1ShowProgress(int& PercentageDone);

    widgets::Label& Label1;
    widgets::Image& RxGIFAnimator1;
    widgets::Panel& GaugePanel;
    widgets::ProgressBar& ProgressBar2;
    widgets::Timer& Timer1;
    archive::TSegCompEZ SegCompEZ1;
    // The caption bar's colours, set on the window each time it is shown.
    widgets::Form::CaptionGradient MarsCaption1;

    // What the last failed expansion raised, for the front ends' diagnostics.
    const std::string& LastError() const { return lastError_; }

private:
    void Expand();
    // Moves the gauge to `position`; the bar is drawn spaced in time, or at
    // once with `now`.
    void Gauge(int position, bool now = false);

    platform::Machine& machine_;
    setup::RunState& run_;
    setup::TMainSetup& main_;
    std::string designText_;
    bool splashShown_ = false;
    int gauge_ = 0;
    widgets::UpdateSpacing gaugeSpacing_;
    // Where the expansion is, so that a close by the user can be told from
    // the window's own close at the end.
    bool expanding_ = false;
    bool finished_ = false;
    bool closedByUser_ = false;
    std::string segmentPath_;
    std::string lastError_;
};

}  // namespace kav::expansion
