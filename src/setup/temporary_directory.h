#pragma once
// Emptying and removing a directory the run is done with.
#include <string>

#include "platform/file_system.h"

namespace kav::setup {

// Deletes the files directly in `directory` and in the expansion's numbered
// folders in it, and then removes it if it is empty. Read-only files and
// other sub-directories stay; nothing is reported. An
// empty name or a drive root is left alone: the argument directory may name
// the root of the installation medium, whose files are not the run's.
void ClearTemporaryDirectory(platform::FileSystem& files, const std::string& directory);

// True for the names of an installation set's own files: install.exe,
// install.cfg and disk.NNN, in any letter case.
bool IsSetFileName(const std::string& name);

// Deletes the installation set's own files in `directory` (install.exe,
// install.cfg and the segment files disk.NNN), then removes the directory
// if that leaves it empty. Anything else there stays: the directory the
// program was started on may be any directory (even C:\WINDOWS). A drive
// root, the installation medium itself, is left alone.
void RemoveSetFiles(platform::FileSystem& files, const std::string& directory);

}  // namespace kav::setup
