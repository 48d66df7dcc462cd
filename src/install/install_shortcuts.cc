// The engine's shortcut step: each Desktop entry whose program lies in a
// directory row becomes shell links through Shortcuts1, recorded in the
// uninstall script before they are written.
#include <algorithm>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/install_engine.h"
#include "install/link_places.h"
#include "install/script_entries.h"

namespace kav::install {

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Link names and folders come from the script: a name must be one file and
// a folder must stay below the place it is made in, so that neither the
// links nor the uninstaller's patterns reach outside the link places.
bool IsFolderBelowPlace(const std::string& folder) {
    std::string rest = folder;
    for (std::size_t cut; (cut = rest.find('\\')) != std::string::npos; rest.erase(0, cut + 1)) {
        if (!base::IsOneEntryName(rest.substr(0, cut))) return false;
    }
    return base::IsOneEntryName(rest);
}

}  // namespace

void InstallEngine::CreateShortcuts() {
    Status("Creating Icons and Folders");
    for (const DirectoryRow& row : table_) {
        for (const std::string& entry : config_.Desktop) CreateEntryShortcuts(row, entry);
    }
}

void InstallEngine::CreateEntryShortcuts(const DirectoryRow& row, const std::string& text) {
    const DesktopEntry entry = DesktopEntry::Parse(text);
    const std::size_t tagEnd = entry.program.find('>');
    const std::string tag =
        tagEnd == std::string::npos ? entry.program : entry.program.substr(0, tagEnd + 1);
    if (base::AsciiUpper(tag) != row.tag) return;
    // An empty folder puts the folder links straight into their places.
    if (!base::IsOneEntryName(entry.name) ||
        (!entry.folder.empty() && !IsFolderBelowPlace(entry.folder))) {
        return;
    }

    view_.ShowDest(entry.folder);
    machine_.Ui().ProcessMessages();
    view_.StepProgress();
    machine_.Ui().ProcessMessages();

    TShortcuts& links = choices_.shortcuts;
    links.Folder = entry.folder;
    links.ProgramName = entry.name;
    links.RunProgram = row.path + "\\" + entry.ProgramPart();
    links.IconFile = row.path + "\\" + AfterFirstTag(entry.icon);
    links.Desktop = entry.onDesktop && Contains(choices_.desktopTicked, entry.name);
    links.StartMenu = entry.inStartMenu && Contains(choices_.startMenuTicked, entry.name);

    const LinkPlaces places = LinkPlaces::Of(machine_.SystemDirs());
    const std::string& folder = entry.folder;
    const std::string linkFiles = entry.name + ".*";
    const auto recordFolder = [&](const std::string& place) {
        // Without a folder of its own the link lies in the place itself,
        // which the uninstall must never remove.
        if (folder.empty()) {
            script_.Record(kUninstallFiles, place + linkFiles);
            return;
        }
        script_.Record(kUninstallFolders, place + folder);
        script_.Record(kUninstallFiles, place + folder + "\\" + linkFiles);
    };
    if (links.FolderDesktop) recordFolder(places.desktop);
    if (links.Desktop) script_.Record(kUninstallFiles, places.desktop + linkFiles);
    if (links.StartMenu) script_.Record(kUninstallFiles, places.startMenu + linkFiles);
    if (links.FolderStartMenu) recordFolder(places.startMenu);
    recordFolder(places.programs);

    // A link that cannot be written is left out; its records stay.
    try {
        links.CreateShortcuts(machine_);
        machine_.Log().Note("shortcuts of \"" + entry.name + "\" to " + links.RunProgram +
                            (links.Desktop ? ", desktop" : "") +
                            (links.StartMenu ? ", start menu" : "") + ", folder \"" + folder +
                            "\"");
    } catch (const EShortcutError& error) {
        machine_.Log().Note("shortcut \"" + entry.name + "\" not made: " + error.what());
    }
}

}  // namespace kav::install
