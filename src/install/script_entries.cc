#include "install/script_entries.h"

#include "base/take_field.h"

namespace kav::install {

std::string DestinationDirectory(const std::string& programFilesDirectory,
                                 const std::string& systemDriveRoot,
                                 const setup::InstallConfiguration& configuration) {
    if (configuration.AddToProgramFiles) {
        return programFilesDirectory + "\\" + configuration.InstallDir;
    }
    return systemDriveRoot + configuration.InstallDir;
}

std::string AfterFirstTag(const std::string& taggedPath) {
    const auto end = taggedPath.find('>');
    return end == std::string::npos ? taggedPath : taggedPath.substr(end + 1);
}

DesktopEntry DesktopEntry::Parse(std::string entry) {
    DesktopEntry parsed;
    std::string desktop, startMenu;
    base::TakeField(entry, "~", parsed.name);
    base::TakeField(entry, "~", parsed.program);
    base::TakeField(entry, "~", desktop);
    base::TakeField(entry, "~", startMenu);
    base::TakeField(entry, "~", parsed.icon);
    // With fewer than six fields the last one taken stays in `entry`.
    parsed.folder = entry;
    parsed.onDesktop = desktop == "X";
    parsed.inStartMenu = startMenu == "X";
    return parsed;
}

std::string DesktopEntry::ProgramPart() const { return AfterFirstTag(program); }

std::string DesktopEntry::SummaryLine() const {
    std::string line = "  " + ProgramPart() + " / " + folder;
    if (onDesktop) line += " / Desktop";
    if (inStartMenu) line += " / Start Meuu";
    return line;
}

}  // namespace kav::install
