#pragma once
// Plays an unattended user through the wizard by its answers: Next on every
// page, Accept, the choices as preselected unless the answers say
// otherwise, and Install. The pages and the choices are reported by
// ReportWizardSteps, whoever goes through the wizard.
#include <functional>
#include <string>

#include "app/stages/wizard_answers.h"
#include "setup/final_choice.h"
#include "wizard/directory_chooser.h"
#include "wizard/wizard_window.h"

namespace kav::app {

class WizardPlayer {
public:
    using Report = std::function<void(const std::string& line)>;
    WizardPlayer(WizardAnswers answers, Report warn)
        : answers_(std::move(answers)), warn_(std::move(warn)) {}

    // The user at the wizard, once it is shown.
    void PlayWizard(wizard::TKAV& kav);
    // The user at the chooser that Browse opened.
    void PlayChooser(wizard::TForm3& chooser);
    // For a user who goes through the wizard in person: the destination,
    // the kind of install and the ending preselected as the answers say,
    // once the wizard has been shown.
    void Preselect(wizard::TKAV& kav);

    const WizardAnswers& Answers() const { return answers_; }

private:
    void ActOn(wizard::TKAV& kav, int page);
    // Unticks the folder boxes and every shortcut when no icons are wanted.
    void DropIcons(wizard::TKAV& kav);
    void ChooseShortcuts(wizard::TKAV& kav);
    void ChooseFinish(wizard::TKAV& kav);
    // A user's click on a box to bring it to `wanted`.
    void SetBox(widgets::CheckBox& box, std::optional<bool> wanted);

    WizardAnswers answers_;
    Report warn_;
};

// The line that names a page; the licence page adds the licence's first
// non-empty line.
std::string PageLine(const wizard::TKAV& kav);
// The line that tells what Install handed on: destination, kind of
// install, the folder and its boxes, the shortcuts ("-" before an unticked
// one) and what happens at the end.
std::string ChoicesLine(const wizard::TKAV& kav, const setup::FinalChoice& choice);

// Reports the wizard's way as the user (a person or the player) goes it:
// the page shown first, each page Next, Back or Accept lands on, and the
// choices once Install has handed them on, before the engine starts.
void ReportWizardSteps(wizard::TKAV& kav, const setup::FinalChoice& choice,
                       WizardPlayer::Report report);

}  // namespace kav::app
