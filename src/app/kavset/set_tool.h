#pragma once
// What kavset does with an installation set: list, test or extract it, on
// a single compressed archive or on a segment set, through the same
// readers the installer uses.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/gui.h"
#include "platform/processor.h"

namespace kav::app {

enum class SetCommand { List, Test, Extract };

struct SetOptions {
    SetCommand command = SetCommand::List;
    std::string set;              // Windows path: directory, segment file or archive
    std::string targetDirectory;  // Windows path, for extract
    bool flat = false;
    bool overwrite = false;  // extract: replace files already in the target
    std::int32_t key = 0;
    std::vector<std::string> mediaDirectories;  // Windows paths
    std::string workDirectory;                  // Windows path for the segment reader's work files
    // Called before the work directory is first made, when it is needed.
    std::function<void()> prepareWorkDirectory;
    bool progress = false;
};

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitDamaged = 2;
// Extraction left out entries (unusable names, links, existing files).
inline constexpr int kExitSkipped = 3;

// Runs one command; reports on `out` (listings, summaries) and `err`
// (problems, warnings, progress). Returns the exit status.
int RunSetCommand(const SetOptions& options, platform::FileSystem& files, platform::Gui& gui,
                  platform::Processor* processor, std::ostream& out, std::ostream& err);

}  // namespace kav::app
