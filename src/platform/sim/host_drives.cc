#include "platform/sim/host_drives.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/sim/short_names.h"

namespace kav::platform::sim {

HostDrives::HostDrives(std::string root) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::optional<std::string> HostDrives::DriveFolder(char drive) const {
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive < 'A' || drive > 'Z') return std::nullopt;
    if (drive == 'Z') return std::string("/");
    std::string folder = root_ + "/drive_" + static_cast<char>(drive - 'A' + 'a');
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 && ::mkdir(folder.c_str(), 0755) != 0) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::string> HostDrives::FindEntry(const std::string& hostDirectory,
                                                 const std::string& name) const {
    const std::string exact = hostDirectory + (hostDirectory.back() == '/' ? "" : "/") + name;
    struct stat st {};
    if (::lstat(exact.c_str(), &st) == 0) return name;
    std::vector<std::string> entries;
    {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostDirectory.c_str()), ::closedir);
        if (!dir) return std::nullopt;
        while (const dirent* entry = ::readdir(dir.get())) entries.emplace_back(entry->d_name);
    }
    for (const std::string& entry : entries) {
        if (EqualsIgnoringCase(entry, name)) return entry;
    }
    // Windows also finds an entry by its short name.
    if (name.find('~') != std::string::npos) {
        for (const std::string& entry : entries) {
            if (EqualsIgnoringCase(ShortNameOf(entry, entries), name)) return entry;
        }
    }
    return std::nullopt;
}

std::optional<std::string> HostDrives::HostPath(const ParsedPath& path) const {
    auto folder = DriveFolder(path.drive);
    if (!folder) return std::nullopt;
    std::string host = *folder;
    bool existing = true;
    for (const std::string& component : path.components) {
        std::string stored = component;
        if (existing) {
            if (auto found = FindEntry(host, component)) {
                stored = *found;
            } else {
                existing = false;
            }
        }
        if (host.back() != '/') host += '/';
        host += stored;
    }
    return host;
}

}  // namespace kav::platform::sim
