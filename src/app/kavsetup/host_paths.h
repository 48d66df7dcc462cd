#pragma once
// The host's files as the simulated machine sees them: through drive Z:,
// as Wine shows them.
#include <string>
#include <vector>

namespace kav::app {

// "/home/a/set" -> "Z:\home\a\set". A relative host path is taken from
// `hostCurrentDirectory`. A name that already is a Windows path ("C:\x",
// "A:") is returned unchanged.
std::string HostToWindowsPath(const std::string& path, const std::string& hostCurrentDirectory);

// The set's own files in the host directory `hostDirectory` (install.cfg,
// install.exe, disk.NNN) that exist but are not regular files: a pipe or a
// device there would make the first read wait for ever.
std::vector<std::string> IrregularSetFiles(const std::string& hostDirectory);

}  // namespace kav::app
