#pragma once
// The main window and the setup sequence: start-up when the window is
// shown, the start timer that runs the stages, and the ending when it
// closes.
#include <string>
#include <vector>

#include "platform/machine.h"
#include "setup/fountain_fill.h"
#include "setup/install_configuration.h"
#include "setup/run_state.h"
#include "setup/setup_stages.h"
#include "setup/windows_restart.h"
#include "widgets/controls.h"
#include "widgets/form.h"

namespace kav::setup {

class TMainSetup : public widgets::Form {
public:
    // `arguments` are the command line's arguments without the program name.
    TMainSetup(widgets::Backend& backend, platform::Machine& machine, RunState& run,
               std::vector<std::string> arguments, SetupStages& stages);

    // Event handlers.
    void FormShow();
    void Timer1Timer();
    void FormClose(widgets::CloseAction& action);
    void Image1DblClick();
    void FormResize();

    // The main screen's settings as they stand now.
    ScreenLook CurrentLook() const;
    // The gradient caption bar of the secondary windows in the main
    // screen's colours as they stand now: its gradient's two colours, the
    // main header's text colour.
    widgets::Form::CaptionGradient CaptionBarColors() const;
    // The main header's text as it stands now.
    std::string HeaderText() const;
    // Shows the installation's picture file in its frame below the headers,
    // placed as the script's alignment says; an animated picture plays.
    void ShowPicture(const std::string& path);

    TFountainFill& MainScreen;
    widgets::Label& Setup_Header;
    widgets::Label& Setup_Header2;
    widgets::Image& Image1;
    widgets::Label& Setup_Copyright;
    widgets::Panel& bitmapscreen;
    widgets::Image& Image3;
    widgets::Image& Image4;
    widgets::Timer& Timer1;
    TWinReboot WinReboot1;

private:
    // Start-up steps 2 to 9; false when the argument could not be entered.
    bool StartUp();
    void ApplyLook(const ScreenLook& look);
    void ShowEnding();

    platform::Machine& machine_;
    RunState& run_;
    std::vector<std::string> arguments_;
    SetupStages& stages_;
    bool shownBefore_ = false;
    bool stagesBegun_ = false;
    bool closed_ = false;
};

}  // namespace kav::setup
