#pragma once
// The host's files as the simulated machine sees them: through drive Z:,
// as Wine shows them.
#include <string>
#include <vector>

namespace kav::app {

// "/home/a/set" -> "Z:\home\a\set". A relative host path is taken from
// `hostCurrentDirectory`. A name that already is a Windows path ("C:\x",
// "A:") is returned unchanged. The host's names are UTF-8 and the machine's
// code page 1252: a path without a code page 1252 form cannot be reached
// (ENameOutsideCodePage).
std::string HostToWindowsPath(const std::string& path, const std::string& hostCurrentDirectory);

// Text typed at the host's terminal (UTF-8) in code page 1252, as the
// machine's names are; text that is not UTF-8 or has no such form is taken
// as it is.
std::string WindowsText(const std::string& typed);

// The set's own files in the host directory `hostDirectory` (install.cfg,
// install.exe, disk.NNN) that exist but are not regular files: a pipe or a
// device there would make the first read wait for ever.
std::vector<std::string> IrregularSetFiles(const std::string& hostDirectory);

}  // namespace kav::app
