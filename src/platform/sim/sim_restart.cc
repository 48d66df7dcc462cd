#include "platform/sim/sim_restart.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

namespace {

constexpr std::array<std::string_view, 24> kPrivilegeNames = {
    "SeAssignPrimaryTokenPrivilege",
    "SeAuditPrivilege",
    "SeBackupPrivilege",
    "SeChangeNotifyPrivilege",
    "SeCreatePagefilePrivilege",
    "SeCreatePermanentPrivilege",
    "SeCreateTokenPrivilege",
    "SeDebugPrivilege",
    "SeIncreaseBasePriorityPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeLoadDriverPrivilege",
    "SeLockMemoryPrivilege",
    "SeProfileSingleProcessPrivilege",
    "SeRemoteShutdownPrivilege",
    "SeRestorePrivilege",
    "SeSecurityPrivilege",
    "SeShutdownPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeSystemProfilePrivilege",
    "SeSystemtimePrivilege",
    "SeTakeOwnershipPrivilege",
    "SeTcbPrivilege",
    "SeUndockPrivilege",
    "SeMachineAccountPrivilege",
};

constexpr unsigned kShutdown = 1, kReboot = 2, kPowerOff = 8;

}  // namespace

bool SimRestart::AdjustPrivilege(const std::string& name, bool enable) {
    const bool known = std::any_of(kPrivilegeNames.begin(), kPrivilegeNames.end(),
                                   [&](std::string_view p) { return EqualsIgnoringCase(p, name); });
    if (known) {
        if (enable) {
            enabled_.insert(FoldCase(name));
        } else {
            enabled_.erase(FoldCase(name));
        }
    }
    journal_.Append(
        {"AdjustPrivilege", name, enable ? "enable" : "disable", known ? "true" : "false"});
    return known;
}

bool SimRestart::ExitSession(unsigned flags) {
    const bool needsPrivilege = (flags & (kShutdown | kReboot | kPowerOff)) != 0;
    const bool accepted =
        !refuseExitSession_ && (!needsPrivilege || enabled_.count("seshutdownprivilege") > 0);
    journal_.Append({"ExitSession", std::to_string(flags), accepted ? "true" : "false"});
    return accepted;
}

bool SimRestart::RemoveAtRestart(const std::string& path) {
    journal_.Append({"RemoveAtRestart", path, "true"});
    return true;
}

}  // namespace kav::platform::sim
