#pragma once
// Emptying and removing a directory the run is done with.
#include <string>

#include "platform/file_system.h"

namespace kav::setup {

// Deletes the files directly in `directory` and then removes it if it is
// empty. Read-only files and sub-directories stay; nothing is reported. An
// empty name or a drive root is left alone: the argument directory may name
// the root of the installation medium, whose files are not the run's.
void ClearTemporaryDirectory(platform::FileSystem& files, const std::string& directory);

}  // namespace kav::setup
