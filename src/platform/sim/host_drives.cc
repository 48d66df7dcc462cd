#include "platform/sim/host_drives.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/sim/host_names.h"
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

const HostDrives::Listing* HostDrives::ListingOf(const std::string& hostDirectory) const {
    const auto stamp = StampOf(hostDirectory);
    if (!stamp) {
        listings_.erase(hostDirectory);
        return nullptr;
    }
    auto known = listings_.find(hostDirectory);
    if (known != listings_.end() && known->second.stamp.SameState(*stamp)) return &known->second;
    Listing listing;
    listing.stamp = *stamp;
    {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostDirectory.c_str()), ::closedir);
        if (!dir) {
            listings_.erase(hostDirectory);
            return nullptr;
        }
        while (const dirent* entry = ::readdir(dir.get()))
            listing.entries.emplace_back(entry->d_name);
    }
    for (const std::string& entry : listing.entries)
        listing.byFolded.emplace(FoldCase(entry), entry);
    return &listings_.insert_or_assign(hostDirectory, std::move(listing)).first->second;
}

namespace {

// The directory and name parts of a host path.
std::pair<std::string, std::string> SplitHostPath(const std::string& hostPath) {
    const auto slash = hostPath.rfind('/');
    if (slash == std::string::npos) return {std::string(), hostPath};
    return {slash == 0 ? std::string("/") : hostPath.substr(0, slash), hostPath.substr(slash + 1)};
}

}  // namespace

void HostDrives::NoteAdded(const std::string& hostPath) const {
    const auto [directory, name] = SplitHostPath(hostPath);
    const auto known = listings_.find(directory);
    if (known == listings_.end()) return;
    const auto stamp = StampOf(directory);
    if (!stamp) {
        listings_.erase(known);
        return;
    }
    Listing& listing = known->second;
    if (listing.byFolded.emplace(FoldCase(name), name).second ||
        std::find(listing.entries.begin(), listing.entries.end(), name) == listing.entries.end()) {
        listing.entries.push_back(name);
    }
    listing.stamp = *stamp;
}

void HostDrives::NoteRemoved(const std::string& hostPath) const {
    listings_.erase(SplitHostPath(hostPath).first);
}

std::optional<std::string> HostDrives::FindEntry(const std::string& hostDirectory,
                                                 const std::string& name) const {
    const std::string exact = hostDirectory + (hostDirectory.back() == '/' ? "" : "/") + name;
    struct stat st {};
    if (::lstat(exact.c_str(), &st) == 0) return name;
    const Listing* listing = ListingOf(hostDirectory);
    if (!listing) return std::nullopt;
    if (const auto found = listing->byFolded.find(FoldCase(name));
        found != listing->byFolded.end()) {
        return found->second;
    }
    // Windows also finds an entry by its short name, made of the entry's
    // code page 1252 name (entries without one have no name the program
    // could ask for).
    const auto windowsName = WindowsNameOfHost(name);
    if (name.find('~') != std::string::npos && windowsName) {
        std::vector<std::string> hostEntries;
        std::vector<std::string> windowsEntries;
        for (const std::string& entry : listing->entries) {
            if (auto windows = WindowsNameOfHost(entry)) {
                hostEntries.push_back(entry);
                windowsEntries.push_back(std::move(*windows));
            }
        }
        for (std::size_t i = 0; i < windowsEntries.size(); ++i) {
            if (EqualsIgnoringCase(ShortNameOf(windowsEntries[i], windowsEntries, codePage_),
                                   *windowsName)) {
                return hostEntries[i];
            }
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
        const std::string component = HostNameOf(path.components[i]);
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
