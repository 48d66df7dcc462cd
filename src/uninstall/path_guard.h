#pragma once
// Where the uninstaller may remove things. Every path is first made full
// and is then held against the installer's own destination policy: the
// places no product is installed into are never the product's either.
#include <string>

#include "install/destination_policy.h"
#include "platform/file_system.h"
#include "platform/system_dirs.h"

namespace kav::uninstall {

class PathGuard {
public:
    PathGuard(platform::FileSystem& files, platform::SystemDirectories& dirs,
              const std::string& installDirectory);

    // The normalised full form of `path`, without a trailing "\" (a drive
    // root keeps its own).
    std::string Full(const std::string& path) const { return policy_.Full(path); }

    // The install directory, full; empty when the installer would have
    // refused it (nothing is then treated as lying inside it).
    const std::string& InstallDirectory() const { return installDirectory_; }
    // True when `full` lies below the install directory (not the directory
    // itself).
    bool InInstallDirectory(const std::string& full) const;
    // True when `full` lies below one of the folders that hold links
    // (Desktop, Start Menu, its Programs folder, Quick Launch).
    bool InLinkPlace(const std::string& full) const { return policy_.InLinkPlace(full); }
    // True for a drive root, the Windows directory itself, "Program Files",
    // a link place itself and the Windows directory's system folders.
    bool IsProtectedDirectory(const std::string& full) const {
        return policy_.IsProtectedFolder(full);
    }
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
    install::DestinationPolicy policy_;
    std::string installDirectory_;
    std::string readOnlyDrives_;  // letters of CD drives and the like
};

}  // namespace kav::uninstall
