#pragma once
#include "platform/file_system.h"

namespace kav::platform {

// The file system through the ANSI file functions of the Windows API.
class Win32FileSystem final : public FileSystem {
public:
    std::string CurrentDirectory() override;
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
};

}  // namespace kav::platform
