#include "setup/final_choice.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"

namespace kav::setup {

FinalChoice::FinalChoice() {
    RadioButton1.SetCaption("Launch Program after installed");
    RadioButton2.SetCaption("Return to Windows after installed");
    reboot.SetCaption("Re Boot Windows After installed");
    group.Add(RadioButton1);
    group.Add(RadioButton2);
    group.Add(reboot);
    // Unchecking the restart choice (as every cancellation does) leaves the
    // user back in Windows, never launching anything.
    group.SetFallback(RadioButton2);
    reboot.SetChecked(true);
}

void FinalChoice::Apply(const InstallConfiguration& configuration) {
    reboot.SetVisible(configuration.ShowReBoot);
    const std::string launch = base::AsciiUpper(configuration.Launch);
    if (!launch.empty() && launch.find("SETUP.") == std::string::npos) {
        RadioButton1.SetChecked(true);
    } else {
        RadioButton2.SetChecked(true);
        RadioButton1.SetEnabled(false);
        reboot.SetChecked(configuration.ShowReBoot);
    }
}

}  // namespace kav::setup
