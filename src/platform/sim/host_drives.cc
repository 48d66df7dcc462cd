#include "platform/sim/host_drives.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/sim/short_names.h"

namespace kav::platform::sim {

HostDrives::HostDrives(std::string root) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

namespace {

char UpperDrive(char drive) {
    return (drive >= 'a' && drive <= 'z') ? static_cast<char>(drive - 'a' + 'A') : drive;
}

}  // namespace

void HostDrives::Mount(char drive, std::string hostFolder) {
    while (hostFolder.size() > 1 && hostFolder.back() == '/') hostFolder.pop_back();
    mounts_[UpperDrive(drive)] = std::move(hostFolder);
}

void HostDrives::MountAt(const ParsedPath& directory, std::string hostFolder, bool readOnly) {
    while (hostFolder.size() > 1 && hostFolder.back() == '/') hostFolder.pop_back();
    for (auto& mount : directoryMounts_) {
        if (UpperDrive(mount.at.drive) == UpperDrive(directory.drive) &&
            mount.at.components.size() == directory.components.size() &&
            std::equal(mount.at.components.begin(), mount.at.components.end(),
                       directory.components.begin(), EqualsIgnoringCase)) {
            mount.hostFolder = std::move(hostFolder);
            mount.readOnly = readOnly;
            return;
        }
    }
    directoryMounts_.push_back({directory, std::move(hostFolder), readOnly});
}

void HostDrives::SetReadOnly(char drive, bool readOnly) {
    if (readOnly) {
        readOnly_.insert(UpperDrive(drive));
    } else {
        readOnly_.erase(UpperDrive(drive));
    }
}

bool HostDrives::ReadOnly(char drive) const { return readOnly_.count(UpperDrive(drive)) != 0; }

bool HostDrives::ReadOnlyAt(const ParsedPath& path) const {
    if (ReadOnly(path.drive)) return true;
    const DirectoryMount* mount = MountOf(path);
    return mount != nullptr && mount->readOnly;
}

const HostDrives::DirectoryMount* HostDrives::MountOf(const ParsedPath& path) const {
    const DirectoryMount* deepest = nullptr;
    for (const auto& mount : directoryMounts_) {
        const auto& at = mount.at.components;
        if (UpperDrive(mount.at.drive) != UpperDrive(path.drive) ||
            at.size() > path.components.size() ||
            (deepest != nullptr && at.size() <= deepest->at.components.size()) ||
            !std::equal(at.begin(), at.end(), path.components.begin(), EqualsIgnoringCase)) {
            continue;
        }
        deepest = &mount;
    }
    return deepest;
}

std::optional<std::string> HostDrives::DriveFolder(char drive) const {
    drive = UpperDrive(drive);
    if (drive < 'A' || drive > 'Z') return std::nullopt;
    if (const auto mounted = mounts_.find(drive); mounted != mounts_.end()) return mounted->second;
    if (drive == 'Z') return std::string("/");
    std::string folder = root_ + "/drive_" + static_cast<char>(drive - 'A' + 'a');
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 && ::mkdir(folder.c_str(), 0755) != 0) {
        return std::nullopt;
    }
    return folder;
}

std::vector<char> HostDrives::Letters() const {
    std::vector<char> letters;
    for (char drive = 'A'; drive <= 'Z'; ++drive) {
        const std::string folder = root_ + "/drive_" + static_cast<char>(drive - 'A' + 'a');
        struct stat st {};
        if (drive == 'C' || drive == 'Z' || mounts_.count(drive) != 0 ||
            ::stat(folder.c_str(), &st) == 0) {
            letters.push_back(drive);
        }
    }
    return letters;
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
    // The deepest directory mount that the path lies in replaces its start.
    std::size_t skipped = 0;
    if (const DirectoryMount* mount = MountOf(path)) {
        host = mount->hostFolder;
        skipped = mount->at.components.size();
    }
    bool existing = true;
    for (std::size_t i = skipped; i < path.components.size(); ++i) {
        const std::string& component = path.components[i];
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
