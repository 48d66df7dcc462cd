#pragma once
// The stages of a setup run as the front ends have them: the directory
// chooser, the wizard and the expansion window, created after the main
// window in the order the program creates its windows at start; the
// expansion window is destroyed once it has closed, the wizard lives on
// with the run.
#include <memory>
#include <string>

#include "expansion/expansion_window.h"
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "setup/setup_stages.h"
#include "widgets/backend.h"
#include "wizard/directory_chooser.h"
#include "wizard/wizard_window.h"

namespace kav::app {

class InstallerStages final : public setup::SetupStages {
public:
    InstallerStages(widgets::Backend& backend, platform::Machine& machine, setup::RunState& run)
        : backend_(backend), machine_(machine), run_(run) {}

    void CreateWindows(setup::TMainSetup& mainScreen);

    void RunExpansion() override;
    void RunWizard() override;
    void SkipWelcomePage() override;
    void PrepareWindows() override;

    // The expansion window until it has been destroyed.
    expansion::TUnzip* Unzip() { return unzip_.get(); }
    wizard::TForm3& Form3() { return *form3_; }
    wizard::TKAV& Wizard() { return *kav_; }
    // What made the expansion fail, empty when it did not.
    const std::string& ExpansionError() const { return expansionError_; }

private:
    widgets::Backend& backend_;
    platform::Machine& machine_;
    setup::RunState& run_;
    std::unique_ptr<wizard::TForm3> form3_;
    std::unique_ptr<wizard::TKAV> kav_;
    std::unique_ptr<expansion::TUnzip> unzip_;
    std::string expansionError_;
};

}  // namespace kav::app
