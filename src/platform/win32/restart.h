#pragma once
#include <functional>
#include <string>

#include "platform/restart.h"

namespace kav::platform {

// Token privileges and ExitWindowsEx. The session-ending call is injectable
// so that tests exercise everything around it without ending the session.
class Win32Restart final : public Restart {
public:
    // Receives the ExitWindowsEx flags and answers whether the request was
    // accepted.
    using ExitWindowsFunction = std::function<bool(unsigned flags)>;

    Win32Restart();  // the real ExitWindowsEx
    explicit Win32Restart(ExitWindowsFunction exitWindows) : exitWindows_(std::move(exitWindows)) {}

    bool AdjustPrivilege(const std::string& name, bool enable) override;
    bool ExitSession(unsigned flags) override;
    // MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT and no new name.
    bool RemoveAtRestart(const std::string& path) override;

private:
    ExitWindowsFunction exitWindows_;
};

}  // namespace kav::platform
