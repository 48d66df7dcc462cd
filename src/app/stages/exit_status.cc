#include "app/stages/exit_status.h"

namespace kav::app {

ExitStatus StatusOf(const setup::RunState& run, const RunEnd& end) {
    // A start-up that could not enter the set's directory found no set.
    if (!run.startedUp || end.expansionFailed) return kExitSetUnreadable;
    if (run.cancelled) return end.installStarted ? kExitInstallFailed : kExitCancelled;
    if (run.restartDeclined) return kExitRestartNeeded;
    return kExitInstalled;
}

std::string ExitStatusText(ExitStatus status) {
    switch (status) {
        case kExitInstalled:
            return "0 installed";
        case kExitBadCommandLine:
            return "1 bad command line";
        case kExitCancelled:
            return "2 cancelled before anything was installed";
        case kExitSetUnreadable:
            return "3 the set could not be expanded";
        case kExitInstallFailed:
            return "4 the install failed part-way";
        case kExitRestartNeeded:
            return "5 installed, restart needed";
    }
    return std::to_string(static_cast<int>(status));
}

}  // namespace kav::app
