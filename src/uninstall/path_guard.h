#pragma once
// Where the uninstaller may remove things. Every path is first made full,
// with "." and ".." folded, and is then compared without regard to case
// against the places that are never the product's: drive roots, the
// Windows directory and the system's folders in it, "Program Files", and
// the Desktop and Start-menu folders themselves.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kav::uninstall {

class PathGuard {
public:
    // `linkPlaces` adds the shell's folders that hold links to the Windows
    // directory's own; `systemFolders` adds further folders that are never
    // removed (the shell's "Program Files" and application data).
    PathGuard(platform::FileSystem& files, const std::string& windowsDirectory,
              const std::string& installDirectory, const std::vector<std::string>& linkPlaces = {},
              const std::vector<std::string>& systemFolders = {});

    // The full form of `path`, without a trailing "\" (a drive root keeps
    // its own).
    std::string Full(const std::string& path) const;

    // The install directory, full; empty when it is one of the protected
    // places (nothing is then treated as lying inside it).
    const std::string& InstallDirectory() const { return installDirectory_; }
    // True when `full` lies below the install directory (not the directory
    // itself).
    bool InInstallDirectory(const std::string& full) const;
    // True when `full` lies below one of the folders that hold links
    // (Desktop, Start Menu, its Programs folder, Quick Launch).
    bool InLinkPlace(const std::string& full) const;
    // True for a drive root, the Windows directory itself, "Program Files",
    // a link place itself and the Windows directory's system folders.
    bool IsProtectedDirectory(const std::string& full) const;
    bool InWindowsDirectory(const std::string& full) const;
    // True when some existing folder on the way to `full` (or `full` itself)
    // is a link to somewhere else: what lies beyond is not where it seems.
    bool PassesThroughLink(const std::string& full) const;

    // The one check before anything of a file is removed, put back or
    // rewritten: why the uninstaller may not touch the file `full`, or ""
    // when it may. It must be a full local path ("C:\...") off read-only
    // media, not a folder of the system's own, and no folder on its way may
    // be a link elsewhere.
    std::string RefusalForFile(const std::string& full) const;

    // True when `full` is `directory` or lies below it.
    static bool IsAtOrBelow(const std::string& full, const std::string& directory);
    static bool IsBelow(const std::string& full, const std::string& directory);

private:
    platform::FileSystem& files_;
    std::string windowsDirectory_;
    std::string installDirectory_;
    std::vector<std::string> linkPlaces_;
    std::vector<std::string> protected_;
    std::string readOnlyDrives_;  // letters of CD drives and the like
};

}  // namespace kav::uninstall
