#pragma once
// How a setup run ended, as the exit status a script tests.
#include <string>

#include "setup/run_state.h"

namespace kav::app {

enum ExitStatus {
    kExitInstalled = 0,
    kExitBadCommandLine = 1,
    kExitCancelled = 2,      // by the user, before anything was installed
    kExitSetUnreadable = 3,  // the set is missing or could not be expanded
    kExitInstallFailed = 4,  // the engine stopped part-way
    kExitRestartNeeded = 5,  // installed; the restart was not made (/NORESTART)
};

struct RunEnd {
    bool expansionFailed;  // the expansion stage ended with an error
    bool installStarted;   // the wizard's Install was pressed
};

// The status of a run that has ended.
ExitStatus StatusOf(const setup::RunState& run, const RunEnd& end);

// "0 installed", "3 the set could not be expanded", ... for the log.
std::string ExitStatusText(ExitStatus status);

}  // namespace kav::app
