#pragma once
// The script a set carries states the set's real number of segments in
// "Install Disks"; the product folder's own script is left as written.
#include <cstddef>
#include <filesystem>
#include <string>

namespace kav::app {

// `scriptText` with "Install Disks" of "Setup - Main" set to `segments`:
// the key's own line rewritten, or the key (and the section) added; every
// other line stays as it was. Unchanged when it already says so.
std::string WithInstallDisks(const std::string& scriptText, std::size_t segments);

// The number of segment files disk.001, disk.002, ... in `set`, counted
// up to the first missing one.
std::size_t CountSegmentFiles(const std::filesystem::path& set);

}  // namespace kav::app
