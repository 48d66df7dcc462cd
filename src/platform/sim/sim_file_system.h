#pragma once
// The simulated machine's file system: Windows paths resolved to host files
// below the root, with Windows' sharing rules, attributes and DOS dates.
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/sim/attribute_store.h"
#include "platform/sim/host_drives.h"
#include "platform/sim/open_file_table.h"

namespace kav::platform::sim {

class SimFileSystem final : public FileSystem {
public:
    explicit SimFileSystem(const HostDrives& drives);

    std::string CurrentDirectory() override { return currentDirectory_; }
    bool ChangeDirectory(const std::string& path) override;
    std::string FullPathName(const std::string& path) override;
    std::vector<FoundFile> FindFiles(const std::string& pattern,
                                     std::uint32_t attributeMask) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveEmptyDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<FileStream> OpenRead(const std::string& path) override;
    std::unique_ptr<FileStream> OpenReadExclusive(const std::string& path) override;
    std::unique_ptr<FileStream> Create(const std::string& path) override;
    bool MoveOnto(const std::string& source, const std::string& target) override;
    bool MoveToNew(const std::string& source, const std::string& target) override;
    std::optional<std::uint32_t> GetDosDateTime(const std::string& path) override;
    std::optional<std::uint64_t> FreeSpace(int drive) override;
    std::vector<DriveInfo> Drives() override;

    // The host path a Windows path resolves to (components matched without
    // regard to case), or nothing when it names no drive path.
    std::optional<std::string> HostPathOf(const std::string& path);

private:
    // Stores a file's attributes and gives its host file the matching write
    // permission (`mode` is its mode now).
    bool SetFileAttributes(const std::string& host, mode_t mode, std::uint32_t attributes);
    bool Parse(const std::string& path, ParsedPath& parsed);
    // False for a path on a read-only drive: nothing there may change.
    bool MayChange(const std::string& path);
    // The host path, provided every component is a name Windows accepts.
    std::optional<std::string> HostPathForNewEntry(const std::string& path);
    std::uint32_t AttributesOfHostEntry(const std::string& hostPath, bool isDirectory) const;
    std::unique_ptr<FileStream> OpenExisting(const std::string& path, OpenMode mode);

    const HostDrives& drives_;
    AttributeStore attributes_;
    std::shared_ptr<OpenFileTable> openFiles_;
    std::string currentDirectory_ = "C:\\";
};

}  // namespace kav::platform::sim
