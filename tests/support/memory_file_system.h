#pragma once
// An in-memory Windows file system for the reader tests and fuzz targets:
// case-insensitive "X:\dir\name" paths, attributes, DOS dates, sharing
// (an exclusive open excludes every other open, an open file cannot be
// deleted) and a few injectable faults.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kav::archive::testing {

class MemoryFileSystem final : public platform::FileSystem {
public:
    struct File {
        std::vector<std::uint8_t> bytes;
        std::uint32_t attributes = platform::faArchive;
        std::uint32_t dosDateTime = 0;
        int openCount = 0;
        bool openExclusive = false;
        // Reads stop after this many bytes although the size says more
        // (a floppy pulled out mid-read). Negative: no limit.
        std::int64_t readLimit = -1;
    };

    MemoryFileSystem();

    // Test set-up and inspection; paths as for the interface.
    void AddFile(const std::string& path, std::vector<std::uint8_t> bytes);
    void AddDirectory(const std::string& path);  // with its parents
    bool Has(const std::string& path) const;
    const File& At(const std::string& path) const;
    File& At(const std::string& path);
    std::vector<std::string> FilePaths() const;  // upper-cased keys, sorted
    int OpenHandles() const;

    std::optional<std::uint64_t> freeSpace;  // nothing = the query fails
    // Writes that would make a file larger than this fail (a full disk).
    std::size_t writeLimit = static_cast<std::size_t>(-1);
    std::set<std::string> refuseCreate;  // upper-cased paths whose Create fails

    std::string CurrentDirectory() override { return current_; }
    bool ChangeDirectory(const std::string& path) override;
    std::string FullPathName(const std::string& path) override;
    std::vector<platform::FoundFile> FindFiles(const std::string& pattern,
                                               std::uint32_t attributeMask) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveEmptyDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<platform::FileStream> OpenRead(const std::string& path) override;
    std::unique_ptr<platform::FileStream> OpenReadExclusive(const std::string& path) override;
    std::unique_ptr<platform::FileStream> Create(const std::string& path) override;
    bool MoveOnto(const std::string& source, const std::string& target) override;
    bool MoveToNew(const std::string& source, const std::string& target) override;
    std::optional<std::uint32_t> GetDosDateTime(const std::string& path) override;
    std::optional<std::uint64_t> FreeSpace(int drive) override;
    std::vector<platform::DriveInfo> Drives() override {
        return {{'C', platform::DriveKind::Fixed}};
    }

    // The key a path is stored under: fully qualified, upper-cased, no
    // trailing "\" (except for a drive root).
    std::string Key(const std::string& path);

private:
    std::unique_ptr<platform::FileStream> Open(const std::string& path, bool exclusive);
    std::string ParentKey(const std::string& key) const;

    std::string current_ = "C:\\";
    std::map<std::string, std::shared_ptr<File>> files_;
    std::set<std::string> directories_;
};

}  // namespace kav::archive::testing
