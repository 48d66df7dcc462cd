#pragma once
// What happens when the installation has ended: the three radio buttons of
// the wizard's last page. They belong to the run rather than to the wizard,
// because the setup sequence reads them after the wizard is gone; the
// wizard places them on its page.
#include "setup/install_configuration.h"
#include "widgets/radio.h"

namespace kav::setup {

class FinalChoice {
public:
    FinalChoice();
    FinalChoice(const FinalChoice&) = delete;
    FinalChoice& operator=(const FinalChoice&) = delete;

    // Applies the script to the choice, as the setup sequence does right
    // after loading it: the restart choice is offered only when "Show
    // Re-Boot" says so, and launching is preselected only for a program
    // that is not itself a setup program.
    void Apply(const InstallConfiguration& configuration);

    // Declared in this order so that the group outlives its buttons.
    widgets::RadioGroup group;
    widgets::RadioButton RadioButton1{"RadioButton1"};  // launch the installed program
    widgets::RadioButton RadioButton2{"RadioButton2"};  // return to Windows
    widgets::RadioButton reboot{"reboot"};              // restart Windows
};

}  // namespace kav::setup
