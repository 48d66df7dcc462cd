#pragma once
// The uninstaller that goes into every set, installed like any product
// file by a Files line of the script.
#include <filesystem>
#include <string>
#include <vector>

#include "pack/set_writer.h"

namespace kav::app {

inline constexpr const char* kUninstallerName = "uninstaller.exe";

// Adds `uninstaller` to `files` as uninstaller.exe unless the source
// folder holds one already (that one travels instead). Returns warnings:
// no uninstaller to add (the set goes without one), or no Files line of
// the script placing it in <INSTALLDIR>, without which the installer does
// not register the product for uninstalling.
std::vector<std::string> AddUninstaller(std::vector<pack::PackFile>& files,
                                        const std::filesystem::path& uninstaller,
                                        const std::string& scriptText);

}  // namespace kav::app
