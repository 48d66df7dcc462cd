#pragma once
// One setup run as both front ends make it: the dialogs answered as the
// command line says, the components' events in the log, the wizard gone
// through by the answers when the run is silent, and the exit status at the
// end. The front end supplies the back end, the machine and the user
// behind the dialogs.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/stages/answering_gui.h"
#include "app/stages/command_line.h"
#include "app/stages/exit_status.h"
#include "app/stages/installer_stages.h"
#include "app/stages/logged_machine.h"
#include "app/stages/wizard_player.h"
#include "setup/main_setup.h"
#include "widgets/backend.h"
#include "widgets/error_report.h"
#include "widgets/timer.h"

namespace kav::app {

// Plays the wizard and the chooser by the answers once each is shown: a
// short timer armed when the window shows lets its modal loop begin first,
// on either back end.
class WizardAutopilot {
public:
    WizardAutopilot(InstallerStages& stages, WizardPlayer& player);

private:
    std::unique_ptr<widgets::Timer> wizardTimer_;
    std::unique_ptr<widgets::Timer> chooserTimer_;
};

class UnattendedRun {
public:
    // `dialogs` is the user behind the message boxes; `showMessages` false
    // keeps an unattended run's messages off the screen. `echo` and
    // `warn`, when set, also get the wizard's lines (pages and choices,
    // attended or played) and the player's warnings.
    UnattendedRun(widgets::Backend& backend, platform::Gui& dialogs, platform::Machine& machine,
                  const RunOptions& options, std::vector<std::string> arguments,
                  platform::EventLog& log, bool showMessages, WizardPlayer::Report echo = nullptr,
                  WizardPlayer::Report warn = nullptr);
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;
    // Gives the back end its error display back.
    ~UnattendedRun();

    AnsweringGui& Dialogs() { return dialogs_; }
    InstallerStages& Stages() { return stages_; }
    setup::RunState& State() { return run_; }
    WizardPlayer& Player() { return player_; }
    platform::Machine& Machine() { return machine_; }

    // Plays the wizard by the answers (the command line's silent switches
    // ask for it; kavsetup always does). Otherwise the wizard opens with the
    // destination, the kind of install and the ending the answers name.
    void PlayWizard();
    // Runs the setup to its end and returns its exit status. A directory
    // answer the installer would refuse ends the run first, as a bad
    // command line, before anything is done.
    ExitStatus Execute();

private:
    widgets::Backend& backend_;
    platform::EventLog& log_;
    AnsweringGui dialogs_;
    LoggedMachine machine_;
    setup::RunState run_;
    InstallerStages stages_;
    setup::TMainSetup mainSetup_;
    WizardPlayer player_;
    std::unique_ptr<WizardAutopilot> autopilot_;
    std::optional<std::string> directory_;
    WizardPlayer::Report warn_;
    widgets::ErrorReport::Display previousErrorDisplay_;
};

}  // namespace kav::app
