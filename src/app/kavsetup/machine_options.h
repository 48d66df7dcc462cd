#pragma once
// The Windows the simulated machine plays, as kavsetup's options say:
//   --code-page 1252|1251|932  the ANSI code page of its Windows
//   --user NAME                the user whose profile folder holds the
//                              Start menu and desktop (any characters)
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace kav::app {

struct MachineOptions {
    platform::sim::SystemCodePage codePage = platform::sim::SystemCodePage::k1252;
    std::optional<std::string> userName;  // as typed (UTF-8)

    // Takes the option at args[i] and its value, advancing `i`; false when
    // args[i] is none of these. Throws kav::Exception for a bad value.
    bool Take(const std::vector<std::string>& args, std::size_t& i);
    void ApplyTo(platform::sim::SimMachine& machine) const;
};

}  // namespace kav::app
