#pragma once
// The files below a source folder as set entries: stored names relative to
// the folder, with the files' dates and attributes.
#include <filesystem>
#include <string>
#include <vector>

#include "pack/set_writer.h"

namespace kav::app {

struct SourceScan {
    std::vector<pack::PackFile> files;  // in stored-name order
    std::vector<std::string> problems;  // names that cannot be stored; nothing is packed then
    std::vector<std::string> warnings;  // entries left out (links, devices)
};

// Every regular file below `folder` except the script install.cfg at its
// top, which travels beside the segments.
SourceScan ScanSourceFolder(const std::filesystem::path& folder);

// The set entry `storedName` for the host file `host`, with its size, date
// and attributes. Throws std::filesystem::filesystem_error.
pack::PackFile PackFileFor(const std::filesystem::path& host, const std::string& storedName);

}  // namespace kav::app
