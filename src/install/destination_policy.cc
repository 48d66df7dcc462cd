#include "install/destination_policy.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/link_places.h"
#include "setup/system_paths.h"

namespace kav::install {

namespace {

// The upper-case names of a full path, its drive ("C:") first. Trailing
// dots and blanks are dropped, as Windows drops them when it opens a name.
std::vector<std::string> NamesOf(const std::string& full) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= full.size()) {
        std::size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        std::string name = base::AsciiUpper(full.substr(start, end - start));
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

// True when `name` fits the 8.3 form every short name has: at most eight
// characters, then at most one dot and three more.
bool HasShortNameForm(const std::string& name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) return !name.empty() && name.size() <= 8;
    return dot >= 1 && dot <= 8 && name.size() - dot - 1 <= 3 &&
           name.find('.', dot + 1) == std::string::npos;
}

bool IsOnDrive(const std::string& full) {
    return full.size() >= 3 && std::isalpha(static_cast<unsigned char>(full[0])) &&
           full[1] == ':' && full[2] == '\\';
}

// True when some name below the drive could not be a folder's: Windows
// reads a ':' as a stream, refuses * ? " < > | and control characters, and
// opens a device for CON, NUL, COM1 and the like, wherever they stand.
bool HoldsNameNoFolderCanHave(const std::string& full) {
    std::size_t start = 3;
    while (start < full.size()) {
        std::size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        const std::string_view name = std::string_view(full).substr(start, end - start);
        if (base::HoldsRefusedCharacter(name) || base::IsDeviceName(name)) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

DestinationPolicy::DestinationPolicy(platform::FileSystem& files, platform::SystemDirectories& dirs)
    : files_(files), dirs_(dirs) {
    const std::string windows = setup::WindowsDirectory(dirs);
    windows_.push_back(PlaceOf(windows));
    const std::vector<std::string> linkPlaces = AllLinkPlaces(dirs);
    for (const std::string& place : linkPlaces) linkPlaces_.push_back(PlaceOf(place));

    std::vector<std::string> folders = linkPlaces;
    for (const std::string& place : linkPlaces) folders.push_back(place + "\\StartUp");
    for (const char* place :
         {"\\SYSTEM", "\\SYSTEM32", "\\TEMP", "\\FONTS", "\\FAVORITES", "\\Application Data"}) {
        folders.push_back(windows + place);
    }
    folders.push_back(setup::ProgramFilesDirectory(dirs));
    if (windows.size() >= 3 && windows[1] == ':') {
        folders.push_back(windows.substr(0, 3) + "Program Files");
    }
    folders.push_back(dirs.ShellFolderPath(platform::ShellFolder::kProgramFiles));
    folders.push_back(dirs.ShellFolderPath(platform::ShellFolder::kAppData));
    for (const std::string& folder : folders) {
        if (!folder.empty()) protected_.push_back(PlaceOf(folder));
    }
    protected_.push_back(windows_.front());
}

std::string DestinationPolicy::Full(const std::string& path) const {
    if (path.empty()) return std::string();
    std::string text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    // "\\?\C:\x" and "\\.\C:\x" name "C:\x" itself, bypassing only the
    // system's own folding; "\\?\UNC\server\share" is "\\server\share".
    if (text.size() >= 4 && text[0] == '\\' && text[1] == '\\' &&
        (text[2] == '?' || text[2] == '.') && text[3] == '\\') {
        text.erase(0, 4);
        if (base::AsciiUpper(text.substr(0, 4)) == "UNC\\") text.replace(0, 3, "\\");
    }
    std::string full = files_.FullPathName(text);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

DestinationPolicy::Place DestinationPolicy::PlaceOf(const std::string& path) const {
    Place place;
    place.full = Full(path);
    place.names = NamesOf(place.full);
    return place;
}

const std::vector<std::string>& DestinationPolicy::ShortNamesOf(const Place& place) const {
    if (!place.shortNames) {
        const std::string shortPath =
            place.full.empty() ? std::string() : dirs_.ShortPathName(place.full);
        place.shortNames = NamesOf(shortPath);
        if (place.shortNames->size() != place.names.size()) place.shortNames = place.names;
    }
    return *place.shortNames;
}

// Name by name, each in either of its forms, so that "C:\PROGRA~1\x" and
// "C:\Program Files\x" are the same place.
bool DestinationPolicy::Matches(const std::vector<std::string>& names, const Place& place,
                                bool below) const {
    if (place.names.empty()) return false;
    if (below ? names.size() <= place.names.size() : names.size() != place.names.size()) {
        return false;
    }
    for (std::size_t i = 0; i < place.names.size(); ++i) {
        if (names[i] == place.names[i]) continue;
        if (!HasShortNameForm(names[i]) || names[i] != ShortNamesOf(place)[i]) return false;
    }
    return true;
}

bool DestinationPolicy::AnyMatches(const std::string& full, const std::vector<Place>& places,
                                   bool below) const {
    const std::vector<std::string> names = NamesOf(full);
    return std::any_of(places.begin(), places.end(),
                       [&](const Place& place) { return Matches(names, place, below); });
}

bool DestinationPolicy::InWindowsDirectory(const std::string& full) const {
    return AnyMatches(full, windows_, false) || AnyMatches(full, windows_, true);
}

bool DestinationPolicy::InLinkPlace(const std::string& full) const {
    return AnyMatches(full, linkPlaces_, true);
}

bool DestinationPolicy::IsProtectedFolder(const std::string& full) const {
    return base::IsDriveRoot(full) || AnyMatches(full, protected_, false);
}

std::string DestinationPolicy::RefusalFor(const std::string& destination) const {
    const std::string full = Full(destination);
    const auto refuse = [&](const char* why) {
        return "Software cannot be installed into \"" + destination + "\": " + why +
               "; choose a directory of its own.";
    };
    if (!IsOnDrive(full)) return refuse("it is not a folder on a drive");
    if (base::IsDriveRoot(full)) return refuse("it is a drive root");
    if (HoldsNameNoFolderCanHave(full)) return refuse("it holds a name no folder can have");
    if (InWindowsDirectory(full)) return refuse("it is the Windows directory or lies in it");
    if (IsProtectedFolder(full)) return refuse("it is a folder of the system's own");
    return std::string();
}

}  // namespace kav::install
