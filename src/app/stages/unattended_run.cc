#include "app/stages/unattended_run.h"

#include "install/destination_policy.h"

namespace kav::app {
namespace {

// The shortest timer Windows keeps. Its message comes only once every window
// of the thread has been painted (a paint goes before a timer), so the page
// is drawn once before it is played, without waiting longer.
constexpr unsigned kAutopilotDelayMs = 10;

std::unique_ptr<widgets::Timer> PlayWhenShown(widgets::Form& form, std::function<void()> play) {
    auto timer = std::make_unique<widgets::Timer>(form, "Autopilot", kAutopilotDelayMs);
    timer->OnTimer = std::move(play);
    widgets::Timer* armed = timer.get();
    form.OnShow = [shown = std::move(form.OnShow), armed] {
        if (shown) shown();
        armed->SetEnabled(true);
    };
    return timer;
}

}  // namespace

WizardAutopilot::WizardAutopilot(InstallerStages& stages, WizardPlayer& player)
    : wizardTimer_(PlayWhenShown(stages.Wizard(),
                                 [&stages, &player] { player.PlayWizard(stages.Wizard()); })),
      chooserTimer_(PlayWhenShown(stages.Form3(),
                                  [&stages, &player] { player.PlayChooser(stages.Form3()); })) {}

UnattendedRun::UnattendedRun(widgets::Backend& backend, platform::Gui& dialogs,
                             platform::Machine& machine, const RunOptions& options,
                             std::vector<std::string> arguments, platform::EventLog& log,
                             bool showMessages, WizardPlayer::Report echo,
                             WizardPlayer::Report warn)
    : backend_(backend),
      log_(log),
      dialogs_(dialogs, options.answers, options.Unattended(), showMessages, log),
      machine_(machine, dialogs_, log),
      stages_(backend, machine_, run_),
      mainSetup_(backend, machine_, run_, std::move(arguments), stages_),
      player_(options.answers, [this, warn](const std::string& line) {
          log_.Note("warning: " + line);
          if (warn) warn(line);
      }) {
    run_.noRestart = options.noRestart;
    directory_ = options.answers.directory;
    warn_ = warn;
    // Errors the forms report reach the log; unattended they are not shown
    // either, since a box there would wait for a click nobody gives.
    widgets::ErrorReport& errors = backend.Errors();
    previousErrorDisplay_ = errors.GetDisplay();
    errors.SetDisplay([this, unattended = options.Unattended()](const std::string& message) {
        log_.Note("error: " + message);
        if (!unattended && previousErrorDisplay_) previousErrorDisplay_(message);
    });
    stages_.CreateWindows(mainSetup_);
    ReportWizardSteps(stages_.Wizard(), run_.finalChoice, [this, echo](const std::string& line) {
        log_.Note(line);
        if (echo) echo(line);
    });
}

UnattendedRun::~UnattendedRun() { backend_.Errors().SetDisplay(previousErrorDisplay_); }

void UnattendedRun::PlayWizard() {
    if (!autopilot_) autopilot_ = std::make_unique<WizardAutopilot>(stages_, player_);
}

ExitStatus UnattendedRun::Execute() {
    if (directory_) {
        const std::string refusal =
            install::DestinationPolicy(machine_.Files(), machine_.SystemDirs())
                .RefusalFor(*directory_);
        if (!refusal.empty()) {
            log_.Note("bad command line: " + refusal);
            if (warn_) warn_(refusal);
            machine_.Ui().ShowMessage(refusal);
            log_.Note("exit status " + ExitStatusText(kExitBadCommandLine));
            return kExitBadCommandLine;
        }
    }
    if (!autopilot_) {
        // The user goes through the wizard, with the switches' choices made.
        wizard::TKAV& kav = stages_.Wizard();
        kav.OnShow = [this, &kav, shown = std::move(kav.OnShow)] {
            if (shown) shown();
            player_.Preselect(kav);
        };
    }
    backend_.Run(mainSetup_);
    const ExitStatus status =
        StatusOf(run_, {!stages_.ExpansionError().empty(), stages_.Wizard().InstallStarted()});
    log_.Note("exit status " + ExitStatusText(status));
    return status;
}

}  // namespace kav::app
