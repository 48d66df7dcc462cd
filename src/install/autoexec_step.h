#pragma once
// The engine's AUTOEXEC.BAT step: the file kept as it was in
// "autoexec.kav", then the product's lines appended between two marker
// remarks, with directory tags replaced by short paths.
#include <functional>
#include <string>
#include <vector>

#include "install/directory_table.h"
#include "install/install_engine.h"
#include "install/uninstall_script.h"
#include "platform/machine.h"

namespace kav::install {

inline constexpr const char* kAutoexecStart = "REM - Starting Zephyrin Update";
inline constexpr const char* kAutoexecEnd = "REM - End of Zephyrin";

// One AutoexecBat entry as it goes into the block: upper case, "COPY " made
// "COPY/Y ", "<ROOT>" and the table's tags replaced in rounds until a round
// changes nothing (`shortPath` gives a row path's short form).
std::string ConvertAutoexecLine(const std::string& entry, const DirectoryTable& table,
                                const std::string& systemDriveRoot,
                                const std::function<std::string(const std::string&)>& shortPath);

// Appends the block: the start marker, the converted entries in order, the
// end marker.
void AppendAutoexecBlock(std::vector<std::string>& lines, const std::vector<std::string>& entries,
                         const DirectoryTable& table, const std::string& systemDriveRoot,
                         const std::function<std::string(const std::string&)>& shortPath);

// The step, run only for a non-empty list. The backup is complete before
// the file is touched, and the file is replaced in one step by a new one
// written beside it, so a failure leaves the old file whole. A missing
// AUTOEXEC.BAT counts as an empty one: the backup is written empty and the
// file is created. Throws EInstallStop ("Cannot open file ...", "Cannot
// create file ...", or the uninstall script's "Unable to write to ...").
// An "autoexec.kav" that was there is first saved below `installDirectory`
// like any replaced file ("Unable to save ..." when it cannot be).
void UpdateAutoexecBat(platform::Machine& machine, InstallView& view, UninstallScript& script,
                       const DirectoryTable& table, const std::string& systemDriveRoot,
                       const std::string& installDirectory,
                       const std::vector<std::string>& entries);

}  // namespace kav::install
