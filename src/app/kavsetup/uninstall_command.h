#pragma once
// kavsetup --uninstall: the uninstaller played on the simulated machine.
#include <string>

#include "app/kavsetup/machine_options.h"

namespace kav::app {

// Finds `title`'s uninstaller through its Uninstall registration on the
// machine kept in `root`, removes the product as the uninstaller would
// (its own file, which a running uninstaller cannot delete, is scheduled
// for the next restart) and prints what it removes and what it leaves.
// Returns the exit status: 0 done, 5 done but for what waits for the next
// restart, 1 no such product or an unusable script.
int RunUninstall(const std::string& root, const std::string& title,
                 const MachineOptions& machineOptions);

}  // namespace kav::app
