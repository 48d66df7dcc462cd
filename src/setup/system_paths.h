#pragma once
// The system's own directories, as the stages use them.
#include <string>

#include "platform/system_dirs.h"

namespace kav::setup {

// The Windows directory as the system reports it, at most 143 characters.
std::string WindowsDirectory(platform::SystemDirectories& dirs);

// Where programs are installed: the shell's "Program Files" (for a 32-bit
// program on 64-bit Windows its own, on localised Windows its own name),
// else the system drive root + "Program Files". No trailing "\".
std::string ProgramFilesDirectory(platform::SystemDirectories& dirs);

// The short (8.3) form of `path`, or `path` unchanged when the system has
// none.
std::string ShortPathName(platform::SystemDirectories& dirs, const std::string& path);

}  // namespace kav::setup
