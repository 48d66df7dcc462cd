#pragma once
// An uninstaller cannot delete its own file while it runs, nor the folder
// that holds it. Run from the install folder, it copies itself to the
// temporary directory, starts the copy for that folder and ends at once;
// the copy waits for the original to end and does the whole removal, the
// original's file and folder included. Only the copy's own file, in the
// temporary directory, is left for the next restart.
#include <cstdint>
#include <string>

#include "platform/machine.h"
#include "uninstall/registration.h"

namespace kav::uninstall {

// How long the copy waits for the original to end; after that the
// original's file, still in use, goes at the next restart.
inline constexpr unsigned kOriginalEndTimeoutMs = 20000;

// The copy's file, in the Windows directory's Temp folder, named after the
// original's process `processId`.
std::string SelfCopyFile(platform::SystemDirectories& dirs, std::uint32_t processId);

// True when `program` is the copy made for the command's original: the
// only file the copy may mark for removal at the next restart.
bool IsSelfCopy(platform::SystemDirectories& dirs, const std::string& program,
                const UninstallCommand& command);

// The copy's command line: the install folder, the original's process, the
// original's switches and the title, quoted so that it reads back whole.
std::string SelfCopyArguments(const UninstallCommand& command, const std::string& installFolder,
                              std::uint32_t processId);

// Copies `program` to the temporary directory and starts the copy for
// `installFolder`, in the temporary directory so that it holds no folder
// of the product. False when either fails; no copy is left then.
bool StartSelfCopy(platform::Machine& machine, const std::string& program,
                   const UninstallCommand& command, const std::string& installFolder);

// The uninstall script the run serves: the one beside `program`, or for the
// copy the one in the folder its command line names. Throws
// EUninstallError when that folder is not a full local path.
std::string ScriptFileFor(const std::string& program, const UninstallCommand& command);

}  // namespace kav::uninstall
