#pragma once
// The file system as the installer sees it: Windows paths ("C:\dir\file",
// "\" separators, letter case ignored), attributes and DOS file dates.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/stream.h"

namespace kav::platform {

// File attribute bits, as Windows reports them.
enum FileAttribute : std::uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faNormal = 0x80,
    // A symbolic link or junction: the name leads somewhere else.
    faReparsePoint = 0x400,
    faAnyFile = 0x3F,
};

// What kind of drive a letter stands for, as the drive list shows it.
enum class DriveKind { Removable, Fixed, Remote, CdRom, RamDisk, Unknown };

struct DriveInfo {
    char letter;  // upper case
    DriveKind kind;
};

struct FoundFile {
    std::string name;          // the entry's name, without directory
    std::uint32_t attributes;  // FileAttribute bits
    std::int64_t size;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The current directory, fully qualified, without a trailing "\" unless
    // it is a drive root ("C:\").
    virtual std::string CurrentDirectory() = 0;
    // Makes `path` the current directory. Returns false when it cannot be
    // entered; the current directory is unchanged then.
    virtual bool ChangeDirectory(const std::string& path) = 0;
    // The fully qualified form of `path`, resolved against the current
    // directory; "." and ".." components are folded. Does not touch the disk.
    virtual std::string FullPathName(const std::string& path) = 0;

    // Entries matching `pattern` (a directory, "\", and a mask with * and ?;
    // "*.*" matches every name). Entries whose attributes have bits outside
    // `attributeMask` among hidden, system and directory are left out, as
    // find-first/find-next does. "." and ".." are listed for non-root
    // directories. Empty when the directory is missing.
    virtual std::vector<FoundFile> FindFiles(const std::string& pattern,
                                             std::uint32_t attributeMask) = 0;

    // True for an existing file (not a directory).
    virtual bool FileExists(const std::string& path) = 0;
    // True for an existing directory (drive roots included).
    virtual bool DirectoryExists(const std::string& path) = 0;
    // The attribute bits, or nothing when the name does not exist. A link is
    // reported as itself (faReparsePoint set), not as what it leads to.
    virtual std::optional<std::uint32_t> GetAttributes(const std::string& path) = 0;
    // Sets the attribute bits (read-only, hidden, system, archive). Returns
    // false on failure.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // Creates one directory; its parent must exist. False on failure
    // (including when it exists already).
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Removes an empty directory. False on failure.
    virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
    // Deletes a file, or a link itself (never what it leads to); read-only
    // files and directories are refused (false).
    virtual bool RemoveFile(const std::string& path) = 0;

    // Opens an existing file for reading; others may read it too but not
    // write it while it is open. Throws EFOpenError naming `path`; anything
    // but a regular file (a pipe, a device, a directory) is refused.
    virtual std::unique_ptr<FileStream> OpenRead(const std::string& path) = 0;
    // Opens an existing file for reading with no sharing at all (archive
    // files). Throws EFOpenError naming `path`.
    virtual std::unique_ptr<FileStream> OpenReadExclusive(const std::string& path) = 0;
    // Creates a file, replacing an existing one (normal attributes, current
    // time), opened for writing and reading. Throws EFCreateError naming
    // `path`; a read-only existing file is refused, and so is anything but a
    // regular file.
    virtual std::unique_ptr<FileStream> Create(const std::string& path) = 0;
    // Puts the file `source` in the place of `target` in one step, replacing
    // an existing target file: afterwards the target is either still the old
    // file whole or the new one whole, never a mixture or nothing. Both lie
    // on one drive. A read-only, open or non-regular target is refused.
    // False on failure; nothing is changed then.
    virtual bool MoveOnto(const std::string& source, const std::string& target) = 0;
    // Moves the file `source` to `target` on the same drive only when no
    // entry of that name is there: one step where a look for the target and
    // then a move would each search its folder. False when the target
    // exists or the move fails; nothing is changed then.
    virtual bool MoveToNew(const std::string& source, const std::string& target) = 0;

    // The last-write time of a file as a DOS date-time (local time), or
    // nothing when the file is missing.
    virtual std::optional<std::uint32_t> GetDosDateTime(const std::string& path) = 0;

    // Free bytes on a drive: 0 = the current drive, 1 = A:, 2 = B:, ...
    // Nothing when the drive cannot be queried.
    virtual std::optional<std::uint64_t> FreeSpace(int drive) = 0;

    // The machine's drives in letter order, with their kinds.
    virtual std::vector<DriveInfo> Drives() = 0;
    // The names of the sub-directories of `directory` ("." and ".." left
    // out), sorted without regard to case as a directory list shows them.
    // Empty when the directory is missing.
    std::vector<std::string> SubDirectories(const std::string& directory);
};

}  // namespace kav::platform
