#include "uninstall/path_guard.h"

#include <cctype>

#include "base/ascii_case.h"
#include "base/path_parts.h"

namespace kav::uninstall {

PathGuard::PathGuard(platform::FileSystem& files, platform::SystemDirectories& dirs,
                     const std::string& installDirectory)
    : files_(files), policy_(files, dirs) {
    if (!installDirectory.empty() && policy_.RefusalFor(installDirectory).empty()) {
        installDirectory_ = Full(installDirectory);
    }
    for (const platform::DriveInfo& drive : files_.Drives()) {
        if (drive.kind == platform::DriveKind::CdRom) readOnlyDrives_ += drive.letter;
    }
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
