#pragma once
// Ending the Windows session.
#include <string>

namespace kav::platform {

class Restart {
public:
    virtual ~Restart() = default;

    // Enables or disables a privilege (such as "SeShutdownPrivilege") of the
    // process token. False when the privilege cannot be looked up or
    // adjusted; nothing is changed then.
    virtual bool AdjustPrivilege(const std::string& name, bool enable) = 0;
    // Asks Windows to end the session (ExitWindowsEx flags: 0 log off,
    // 1 shut down, 2 restart, 4 force, 8 power off). Returns whether the
    // request was accepted; the request is asynchronous.
    virtual bool ExitSession(unsigned flags) = 0;
    // Has Windows delete a file, or an empty directory, when it next starts
    // (a file in use cannot be deleted now). False when that cannot be
    // arranged.
    virtual bool RemoveAtRestart(const std::string& path) = 0;
};

}  // namespace kav::platform
