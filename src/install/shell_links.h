#pragma once
// TShortcuts: writes one program's shell links into its program folder and,
// when asked, directly onto the desktop, into the Start menu and into the
// quick-launch bar, in the shell's folders (install/link_places.h).
#include <string>

#include "platform/exception.h"
#include "platform/machine.h"

namespace kav::install {

// A link that could not be written; the message names the link file.
class EShortcutError : public kav::Exception {
public:
    using kav::Exception::Exception;
};

// The link places below the Windows directory, where Windows without user
// profiles keeps them.
inline constexpr const char* kProgramsPlace = "\\Start Menu\\Programs\\";
inline constexpr const char* kStartMenuPlace = "\\Start Menu\\";
inline constexpr const char* kDesktopPlace = "\\Desktop\\";
inline constexpr const char* kQuickLaunchPlace =
    "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\";

// The component keeps no list of the Start menu's existing folders: nothing
// in the installer would read it.
class TShortcuts {
public:
    std::string RunProgram;   // full path of the program the link starts
    std::string Folder;       // the program folder that receives the link
    std::string ProgramName;  // the link file is this name + ".lnk"
    bool Desktop = false;     // also a link directly on the desktop
    bool StartMenu = false;   // also a link directly in the Start menu
    bool QuickLaunch = false;
    bool FolderDesktop = false;    // the program folder on the desktop
    bool FolderStartMenu = false;  // the program folder in the Start menu itself
    bool FolderQuickLaunch = false;
    std::string IconFile;  // icon index 0

    // Writes the links the properties describe; program folders are made
    // as needed, the places of direct links are not. Throws EShortcutError
    // at the first link that cannot be written; the later ones are not
    // attempted.
    void CreateShortcuts(platform::Machine& machine) const;
};

}  // namespace kav::install
