#include "uninstall/path_guard.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/directory_table.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

std::string DriveRootOf(const std::string& full) {
    return full.size() >= 3 && full[1] == ':' ? full.substr(0, 3) : std::string();
}

}  // namespace

PathGuard::PathGuard(platform::FileSystem& files, const std::string& windowsDirectory,
                     const std::string& installDirectory,
                     const std::vector<std::string>& linkPlaces,
                     const std::vector<std::string>& systemFolders)
    : files_(files), windowsDirectory_(Full(windowsDirectory)) {
    const std::string& w = windowsDirectory_;
    for (const char* place : {"\\Desktop", "\\Start Menu", "\\Start Menu\\Programs",
                              "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch"}) {
        linkPlaces_.push_back(w + place);
    }
    for (const std::string& place : linkPlaces) {
        if (!place.empty()) linkPlaces_.push_back(Full(place));
    }
    protected_ = linkPlaces_;
    for (const std::string& place : linkPlaces) {
        if (!place.empty()) protected_.push_back(Full(place) + "\\StartUp");
    }
    for (const std::string& folder : systemFolders) {
        if (!folder.empty()) protected_.push_back(Full(folder));
    }
    for (const char* place : {"\\SYSTEM", "\\SYSTEM32", "\\TEMP", "\\FONTS", "\\FAVORITES",
                              "\\Start Menu\\Programs\\StartUp", "\\Application Data"}) {
        protected_.push_back(w + place);
    }
    protected_.push_back(w);
    const std::string root = DriveRootOf(w);
    if (!root.empty()) protected_.push_back(root + "Program Files");
    const std::string install = Full(installDirectory);
    const bool usable = !install.empty() && !IsProtectedDirectory(install) &&
                        !(InWindowsDirectory(install) && !InLinkPlace(install));
    if (usable) installDirectory_ = install;
    for (const platform::DriveInfo& drive : files_.Drives()) {
        if (drive.kind == platform::DriveKind::CdRom) readOnlyDrives_ += drive.letter;
    }
}

std::string PathGuard::Full(const std::string& path) const {
    if (path.empty()) return std::string();
    std::string full = files_.FullPathName(path);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

bool PathGuard::IsAtOrBelow(const std::string& full, const std::string& directory) {
    if (directory.empty()) return false;
    const std::string f = base::AsciiUpper(full);
    std::string d = base::AsciiUpper(directory);
    if (f == d) return true;
    if (d.back() != '\\') d += '\\';
    return f.compare(0, d.size(), d) == 0;
}

bool PathGuard::IsBelow(const std::string& full, const std::string& directory) {
    return IsAtOrBelow(full, directory) && base::AsciiUpper(full) != base::AsciiUpper(directory);
}

bool PathGuard::InInstallDirectory(const std::string& full) const {
    return IsBelow(full, installDirectory_);
}

bool PathGuard::InLinkPlace(const std::string& full) const {
    return std::any_of(linkPlaces_.begin(), linkPlaces_.end(),
                       [&](const std::string& place) { return IsBelow(full, place); });
}

bool PathGuard::InWindowsDirectory(const std::string& full) const {
    return IsAtOrBelow(full, windowsDirectory_);
}

bool PathGuard::IsProtectedDirectory(const std::string& full) const {
    if (base::IsDriveRoot(full)) return true;
    const std::string upper = base::AsciiUpper(full);
    return std::any_of(protected_.begin(), protected_.end(),
                       [&](const std::string& place) { return base::AsciiUpper(place) == upper; });
}

bool PathGuard::PassesThroughLink(const std::string& full) const {
    for (std::size_t at = full.find('\\', 3);; at = full.find('\\', at + 1)) {
        const std::string part = at == std::string::npos ? full : full.substr(0, at);
        const auto attributes = files_.GetAttributes(part);
        if (attributes && (*attributes & platform::faReparsePoint) != 0) return true;
        if (at == std::string::npos) return false;
    }
}

std::string PathGuard::RefusalForFile(const std::string& full) const {
    const bool local = full.size() > 3 && std::isalpha(static_cast<unsigned char>(full[0])) &&
                       full[1] == ':' && full[2] == '\\';
    if (!local) return "not a full path on a local drive";
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(full[0])));
    if (readOnlyDrives_.find(drive) != std::string::npos) return "on read-only media";
    if (IsProtectedDirectory(full)) return "a folder of the system's own";
    if (PassesThroughLink(full.substr(0, full.find_last_of('\\')))) {
        return "its folder is a link to another place";
    }
    return std::string();
}

}  // namespace kav::uninstall
