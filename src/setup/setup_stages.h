#pragma once
// The two modal stages the setup sequence runs, and the wizard's part in
// start-up. Front ends pass the stages they have; those that do not exist
// are passed over.
namespace kav::setup {

class SetupStages {
public:
    virtual ~SetupStages() = default;
    // Shows the expansion window modally and destroys it once it has closed.
    virtual void RunExpansion() = 0;
    // Shows the wizard modally.
    virtual void RunWizard() = 0;
    // Performs the wizard's Next once, so that it opens past its welcome page.
    virtual void SkipWelcomePage() = 0;
    // Makes the stages' windows ahead, hidden, while the main screen waits
    // before the first stage.
    virtual void PrepareWindows() = 0;
};

// No expansion stage and no wizard: the run goes straight to its ending.
class PassedOverStages final : public SetupStages {
public:
    void RunExpansion() override {}
    void RunWizard() override {}
    void SkipWelcomePage() override {}
    void PrepareWindows() override {}
};

}  // namespace kav::setup
