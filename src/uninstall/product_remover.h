#pragma once
// Removing an installed product by its uninstall script, in this order:
// replaced files put back; the files of "UNINS" that the install wrote (its
// "File States" name them new; a pattern such as "<dir>\*.*" stands for the
// install's files in that folder, never for the folder's other files); the
// link folders once empty; the registry values, keys and the product's
// Uninstall key; the INI entries; the AUTOEXEC.BAT block; the uninstall
// script; and the folders the install made, once empty, deepest first.
// What is left for safety's sake, or because it could not be removed, is
// listed with its reason.
#include <functional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "uninstall/uninstall_record.h"

namespace kav::uninstall {

struct Leftover {
    std::string item;
    std::string reason;
};

struct UninstallResult {
    std::vector<std::string> removed;    // in the order removed
    std::vector<std::string> restored;   // put back as they were before
    std::vector<std::string> atRestart;  // to be removed when Windows restarts
    std::vector<Leftover> left;
    bool RestartNeeded() const { return !atRestart.empty(); }
};

struct UninstallOptions {
    // The uninstaller's own file when it runs from the install directory:
    // it cannot be deleted while it runs and is removed at the next restart.
    std::string runningProgram;
    // Called before each step: the thing about to be removed, the steps
    // done and their total.
    std::function<void(const std::string& item, int done, int total)> progress;
};

UninstallResult RemoveProduct(platform::Machine& machine, const UninstallRecord& record,
                              const UninstallOptions& options);

// The result as lines for a person: removed, put back, at restart, left.
std::vector<std::string> DescribeResult(const UninstallResult& result);

// The exit status of a removal that ran: 0 when it is complete, 5 when
// something waits for the next restart (install.exe's status for a
// restart still needed).
inline constexpr int kUninstallComplete = 0;
inline constexpr int kUninstallRestartNeeded = 5;
inline int UninstallExitStatus(const UninstallResult& result) {
    return result.RestartNeeded() ? kUninstallRestartNeeded : kUninstallComplete;
}

}  // namespace kav::uninstall
