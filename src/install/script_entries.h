#pragma once
// What the wizard works out from the script: the destination directory and
// the summary line of each Desktop entry.
#include <string>

#include "setup/install_configuration.h"

namespace kav::install {

// The "Program Files" directory + "\" + "Install Dir" when "Add to Program
// Files" is set, else the system drive root + "Install Dir"; the parts are
// joined as written, the root bringing its own "\".
std::string DestinationDirectory(const std::string& programFilesDirectory,
                                 const std::string& systemDriveRoot,
                                 const setup::InstallConfiguration& configuration);

// One entry of the Desktop list, taken apart into the fields the wizard
// uses (name~program~desktop~startmenu~icon~folder).
struct DesktopEntry {
    std::string name;
    std::string program;  // the tagged path, "<TAG>path"
    bool onDesktop = false;
    bool inStartMenu = false;
    std::string icon;    // the tagged icon path; the tag is not used
    std::string folder;  // everything after the fifth "~"

    static DesktopEntry Parse(std::string entry);
    // The program part: what follows the tag's first ">".
    std::string ProgramPart() const;
    // The line of the summary memo.
    std::string SummaryLine() const;
};

// What the ready page says about launching: the part of "Launch" after its
// first ">", the whole setting when it has none.
std::string AfterFirstTag(const std::string& taggedPath);

}  // namespace kav::install
