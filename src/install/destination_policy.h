#pragma once
// Where a product may be installed: one rule for the wizard's destination
// page and chooser, the command line's directory, the install engine and
// the uninstaller's guard, so that whatever the installer accepts the
// uninstaller can take away again, and nothing it refuses to touch is ever
// an install directory. Every path is compared in its normalised full
// form: "\\?\" and "\\.\" dropped, "/" read as "\", "." and ".." folded,
// letter case ignored, and each name matched in its long or its short
// (8.3) form.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_dirs.h"

namespace kav::install {

class DestinationPolicy {
public:
    // The places of this machine: its Windows directory (the run's
    // temporary directory lies in it), the shell's link places, "Program
    // Files" and application data.
    DestinationPolicy(platform::FileSystem& files, platform::SystemDirectories& dirs);

    // The normalised full form of `path`, without a trailing "\" (a drive
    // root keeps its own); empty when it names no place.
    std::string Full(const std::string& path) const;

    // True when `full` is the Windows directory or lies below it.
    bool InWindowsDirectory(const std::string& full) const;
    // True when `full` lies below one of the folders that hold links
    // (Desktop, Start Menu, its Programs folder, Quick Launch).
    bool InLinkPlace(const std::string& full) const;
    // True for a drive root, the Windows directory and its system folders,
    // "Program Files", application data, a link place itself and the
    // temporary directories.
    bool IsProtectedFolder(const std::string& full) const;

    // Why no product may be installed into `destination` (as the user gave
    // it), as a message for the user; "" when it may.
    std::string RefusalFor(const std::string& destination) const;

private:
    // A place's names, upper case, each with its short form (the long one
    // again when the system has none). The short forms are asked for only
    // when a name of 8.3 form is compared with the place: under Wine each
    // costs a look into every folder on the way.
    struct Place {
        std::string full;
        std::vector<std::string> names;
        mutable std::optional<std::vector<std::string>> shortNames;
    };
    Place PlaceOf(const std::string& path) const;
    const std::vector<std::string>& ShortNamesOf(const Place& place) const;
    bool Matches(const std::vector<std::string>& names, const Place& place, bool below) const;
    bool AnyMatches(const std::string& full, const std::vector<Place>& places, bool below) const;

    platform::FileSystem& files_;
    platform::SystemDirectories& dirs_;
    std::vector<Place> windows_;
    std::vector<Place> linkPlaces_;
    std::vector<Place> protected_;
};

}  // namespace kav::install
