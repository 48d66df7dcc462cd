#pragma once
// Where the shell shows links: its Programs folder, Start menu, desktop and
// quick-launch bar, as this machine's shell names them.
#include <string>
#include <vector>

#include "platform/system_dirs.h"

namespace kav::install {

struct LinkPlaces {
    // Each full and ending in "\".
    std::string programs;
    std::string startMenu;
    std::string desktop;
    std::string quickLaunch;

    // The folders shared by all users when the process has administrator
    // rights, else the user's own; quick launch is always the user's. A
    // folder the shell does not name is taken below the Windows directory,
    // where Windows without user profiles keeps it.
    static LinkPlaces Of(platform::SystemDirectories& dirs);
};

// Every folder that may hold this installer's links on this machine,
// without a trailing "\": the shared and the user's folders and the
// Windows directory's own, so that links an earlier install made in any of
// them are recognised.
std::vector<std::string> AllLinkPlaces(platform::SystemDirectories& dirs);

}  // namespace kav::install
