#pragma once
// A setup run whose expansion stage only puts the licence into the
// temporary directory, followed by the real wizard and chooser, with a
// test playing the user on the wizard.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "support/test_machine.h"
#include "wizard/directory_chooser.h"
#include "wizard/wizard_window.h"

namespace kav::wizard::testing {

class WizardTest : public setup::testing::MachineTest {
protected:
    void SetUp() override;

    // The script: `main` lines in "Setup - Main", then the Desktop list.
    void WriteScript(const std::string& main, const std::vector<std::string>& desktop = {});
    // The licence the expansion puts into the temporary directory; no
    // licence at all unless this is called.
    void SetLicence(const std::string& text) { licence_ = text; }
    // The licence is left open for writing, as another program might hold
    // it, so that it cannot be read.
    void HoldLicenceOpen() { holdLicence_ = true; }
    // A folder takes the licence's name.
    void MakeLicenceAFolder() { licenceFolder_ = true; }

    // Runs the setup; `user` acts on the wizard when it is shown.
    void Run(const std::function<void(TKAV&)>& user);
    // Next pressed until the page is `page` (fails if it is never reached).
    void NextUntil(TKAV& kav, int page);

    std::vector<std::string> Messages() const { return ui_.Messages().Texts(); }
    std::string Temp();

    std::string set_;
    std::optional<std::string> licence_;
    bool holdLicence_ = false;
    bool licenceFolder_ = false;
    std::unique_ptr<platform::FileStream> heldLicence_;
    setup::RunState run_;
    std::unique_ptr<setup::TMainSetup> main_;
    std::unique_ptr<TForm3> chooser_;
    std::unique_ptr<TKAV> kav_;

private:
    struct Stages final : setup::SetupStages {
        WizardTest* test;
        void RunExpansion() override;
        void RunWizard() override { test->kav_->ShowModal(); }
        void SkipWelcomePage() override { test->kav_->nextClick(); }
        void PrepareWindows() override {}
    };
    Stages stages_;
};

// What each state of the button bar is.
struct Buttons {
    bool back, next, install;
    bool operator==(const Buttons&) const = default;
};
Buttons ButtonsOf(const TKAV& kav);

}  // namespace kav::wizard::testing
