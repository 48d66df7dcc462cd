#pragma once
// Launching a file through the shell, copying one file, the attribute test
// that the copy uses, and making a directory with its parents.
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace kav::setup {

// Starts (or opens) `fileName` with the shell's default action and does not
// wait. Returns the shell's result (32 or less on failure). The strings are
// passed whole, however long.
int ExecuteFile(platform::Shell& shell, const std::string& fileName, const std::string& params,
                const std::string& defaultDir, int showCmd);

// Copies `source` to `destination`, which may name a directory (then the
// copy takes the source's file name there). Throws platform::EFOpenError
// naming the source or platform::EFCreateError naming the destination. A
// destination that could not be written in full is removed and reported as
// EFCreateError: no copy is ever left shorter than its source.
void CopyFile(platform::FileSystem& files, const std::string& source,
              const std::string& destination);

// True when every bit of `attr` is set in the file's attributes. A name the
// system cannot report on counts as having every bit set.
bool HasAttr(platform::FileSystem& files, const std::string& fileName, std::uint16_t attr);

// Creates `directory` with any missing parents. False when it does not exist
// afterwards.
bool ForceDirectories(platform::FileSystem& files, const std::string& directory);

}  // namespace kav::setup
