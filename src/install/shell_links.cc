#include "install/shell_links.h"

#include "install/link_places.h"
#include "setup/file_operations.h"

namespace kav::install {

namespace {

// What CreateShortcuts writes: the link and where its places are.
class LinkWriter {
public:
    LinkWriter(platform::Machine& machine, const TShortcuts& shortcuts)
        : machine_(machine), shortcuts_(shortcuts), places_(LinkPlaces::Of(machine.SystemDirs())) {
        const std::string& program = shortcuts.RunProgram;
        const std::size_t cut = program.find_last_of("\\:");
        link_.target = program;
        link_.workingDirectory = cut == std::string::npos ? "" : program.substr(0, cut + 1);
        link_.iconFile = shortcuts.IconFile;
        link_.iconIndex = 0;
    }

    void SaveIn(const std::string& directory) const {
        const std::string path = directory + shortcuts_.ProgramName + ".lnk";
        if (!machine_.ShellOps().CreateLink(path, link_)) {
            throw EShortcutError("Unable to create the shortcut " + path);
        }
    }
    // Without a folder name the link goes into the place itself.
    void SaveInFolder(const std::string& place) const {
        const std::string directory =
            shortcuts_.Folder.empty() ? place : place + shortcuts_.Folder + "\\";
        if (!machine_.Files().DirectoryExists(directory)) {
            setup::ForceDirectories(machine_.Files(), directory);
        }
        SaveIn(directory);
    }
    const LinkPlaces& Places() const { return places_; }

private:
    platform::Machine& machine_;
    const TShortcuts& shortcuts_;
    const LinkPlaces places_;
    platform::ShellLink link_;
};

}  // namespace

void TShortcuts::CreateShortcuts(platform::Machine& machine) const {
    const LinkWriter writer(machine, *this);
    const LinkPlaces& places = writer.Places();
    if (!FolderDesktop && !FolderStartMenu && !FolderQuickLaunch) {
        writer.SaveInFolder(places.programs);
    } else {
        if (FolderQuickLaunch) {
            writer.SaveInFolder(places.quickLaunch);
            if (!FolderDesktop) writer.SaveInFolder(places.programs);
        }
        if (FolderDesktop) {
            writer.SaveInFolder(places.desktop);
            writer.SaveInFolder(places.programs);
        }
        // The program folder then lies in the Start menu itself, not under
        // Programs.
        if (FolderStartMenu) writer.SaveInFolder(places.startMenu);
    }
    if (Desktop) writer.SaveIn(places.desktop);
    if (StartMenu) writer.SaveIn(places.startMenu);
    if (QuickLaunch) writer.SaveIn(places.quickLaunch);
}

}  // namespace kav::install
