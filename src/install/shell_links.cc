#include "install/shell_links.h"

#include "setup/file_operations.h"
#include "setup/system_paths.h"

namespace kav::install {

namespace {

// What CreateShortcuts writes: the link and where its places are.
class LinkWriter {
public:
    LinkWriter(platform::Machine& machine, const TShortcuts& shortcuts)
        : machine_(machine),
          shortcuts_(shortcuts),
          windows_(setup::WindowsDirectory(machine.SystemDirs())) {
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
    void SaveInPlace(const char* place) const { SaveIn(windows_ + place); }
    void SaveInFolder(const char* place) const {
        const std::string directory = windows_ + place + shortcuts_.Folder + "\\";
        if (!machine_.Files().DirectoryExists(directory)) {
            setup::ForceDirectories(machine_.Files(), directory);
        }
        SaveIn(directory);
    }

private:
    platform::Machine& machine_;
    const TShortcuts& shortcuts_;
    const std::string windows_;
    platform::ShellLink link_;
};

}  // namespace

void TShortcuts::CreateShortcuts(platform::Machine& machine) const {
    const LinkWriter writer(machine, *this);
    if (!FolderDesktop && !FolderStartMenu && !FolderQuickLaunch) {
        writer.SaveInFolder(kProgramsPlace);
    } else {
        if (FolderQuickLaunch) {
            writer.SaveInFolder(kQuickLaunchPlace);
            if (!FolderDesktop) writer.SaveInFolder(kProgramsPlace);
        }
        if (FolderDesktop) {
            writer.SaveInFolder(kDesktopPlace);
            writer.SaveInFolder(kProgramsPlace);
        }
        // The program folder then lies in the Start menu itself, not under
        // Programs.
        if (FolderStartMenu) writer.SaveInFolder(kStartMenuPlace);
    }
    if (Desktop) writer.SaveInPlace(kDesktopPlace);
    if (StartMenu) writer.SaveInPlace(kStartMenuPlace);
    if (QuickLaunch) writer.SaveInPlace(kQuickLaunchPlace);
}

}  // namespace kav::install
