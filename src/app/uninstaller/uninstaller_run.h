#pragma once
// The uninstaller's run on any machine. Started from the install folder it
// checks the script and the title, hands the removal to its copy in the
// temporary directory and ends; the copy (or an original that could not
// hand over) asks, removes, writes the log and shows the closing message.
#include <string>

#include "platform/machine.h"
#include "widgets/backend.h"

namespace kav::app {

inline constexpr int kUninstallFailed = 1;
inline constexpr int kUninstallDeclined = 2;

// `program` is the running uninstaller's full path, `arguments` its command
// line after its own name. Returns the exit status: 0 when the product is
// removed or its removal handed to the copy, 5 when something waits for the
// next restart, kUninstallFailed or kUninstallDeclined.
int RunUninstaller(platform::Machine& machine, widgets::Backend& backend,
                   const std::string& program, const std::string& arguments);

}  // namespace kav::app
