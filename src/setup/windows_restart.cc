#include "setup/windows_restart.h"

namespace kav::setup {

namespace {
constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";
}  // namespace

bool TWinReboot::AdjustPrivilege(const std::string& name, bool enable) {
    return restart_.AdjustPrivilege(name, enable);
}

bool TWinReboot::Reboot(unsigned flags) {
    // Without the privilege Windows refuses; the request is made all the
    // same and its refusal is the answer.
    AdjustPrivilege(kShutdownPrivilege, true);
    const bool accepted = restart_.ExitSession(flags);
    AdjustPrivilege(kShutdownPrivilege, false);
    return accepted;
}

}  // namespace kav::setup
