#pragma once
// Ending the Windows session, with the shutdown privilege enabled around
// the request.
#include <string>

#include "platform/restart.h"

namespace kav::setup {

class TWinReboot {
public:
    explicit TWinReboot(platform::Restart& restart) : restart_(restart) {}
    TWinReboot(const TWinReboot&) = delete;
    TWinReboot& operator=(const TWinReboot&) = delete;

    // Enables or disables a privilege of the process token; false when it
    // cannot be looked up or adjusted.
    bool AdjustPrivilege(const std::string& name, bool enable);
    // Asks Windows to end the session (flags: 0 log off, 1 shut down,
    // 2 restart, 4 force, 8 power off). Returns whether Windows accepted.
    bool Reboot(unsigned flags);

private:
    platform::Restart& restart_;
};

}  // namespace kav::setup
