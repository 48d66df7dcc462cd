#include "platform/sim/sim_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/errors.h"
#include "platform/sim/dos_time.h"
#include "platform/sim/host_names.h"
#include "platform/sim/sim_file_stream.h"

namespace kav::platform::sim {

namespace {

// Bits the attribute store keeps; read-only of files is the host permission.
constexpr std::uint32_t kStoredFileBits = faHidden | faSysFile | faArchive;
constexpr std::uint32_t kStoredDirectoryBits = faReadOnly | faHidden | faSysFile | faArchive;

std::optional<struct stat> StatOf(const std::string& hostPath) {
    struct stat st {};
    if (::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
    return st;
}

// The entry itself, not what a link leads to.
std::optional<struct stat> LinkStatOf(const std::string& hostPath) {
    struct stat st {};
    if (::lstat(hostPath.c_str(), &st) != 0) return std::nullopt;
    return st;
}

bool IsWritable(const struct stat& st) { return (st.st_mode & S_IWUSR) != 0; }

FileIdentity IdentityOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::string ParentOf(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    return slash == 0 ? std::string("/") : hostPath.substr(0, slash);
}

}  // namespace

SimFileSystem::SimFileSystem(const HostDrives& drives)
    : drives_(drives),
      attributes_(drives.Root() + "/attributes.txt"),
      openFiles_(std::make_shared<OpenFileTable>()) {}

bool SimFileSystem::Parse(const std::string& path, ParsedPath& parsed) {
    return ParseFullPath(path, currentDirectory_, parsed);
}

bool SimFileSystem::MayChange(const std::string& path) {
    ParsedPath parsed;
    return Parse(path, parsed) && !drives_.ReadOnlyAt(parsed);
}

std::optional<std::string> SimFileSystem::HostPathOf(const std::string& path) {
    ParsedPath parsed;
    if (!Parse(path, parsed)) return std::nullopt;
    return drives_.HostPath(parsed);
}

std::optional<std::string> SimFileSystem::HostPathForNewEntry(const std::string& path) {
    ParsedPath parsed;
    if (!Parse(path, parsed) || parsed.components.empty()) return std::nullopt;
    for (const std::string& component : parsed.components) {
        if (!IsValidFileName(component)) return std::nullopt;
    }
    return drives_.HostPath(parsed);
}

std::string SimFileSystem::FullPathName(const std::string& path) {
    ParsedPath parsed;
    if (!Parse(path, parsed)) return std::string();
    return FormatPath(parsed, true);
}

bool SimFileSystem::ChangeDirectory(const std::string& path) {
    ParsedPath parsed;
    if (!Parse(path, parsed)) return false;
    const auto host = drives_.HostPath(parsed);
    if (!host) return false;
    const auto st = StatOf(*host);
    if (!st || !S_ISDIR(st->st_mode)) return false;
    currentDirectory_ = FormatPath(parsed, false);
    return true;
}

std::uint32_t SimFileSystem::AttributesOfHostEntry(const std::string& hostPath,
                                                   bool isDirectory) const {
    const auto stored = attributes_.Find(hostPath);
    if (isDirectory) return faDirectory | (stored ? *stored & kStoredDirectoryBits : 0u);
    std::uint32_t bits = stored ? *stored & kStoredFileBits : static_cast<std::uint32_t>(faArchive);
    const auto st = StatOf(hostPath);
    if (st && !IsWritable(*st)) bits |= faReadOnly;
    return bits == 0 ? static_cast<std::uint32_t>(faNormal) : bits;
}

std::vector<FoundFile> SimFileSystem::FindFiles(const std::string& pattern,
                                                std::uint32_t attributeMask) {
    ParsedPath parsed;
    if (!Parse(pattern, parsed) || parsed.components.empty()) return {};
    const std::string mask = parsed.components.back();
    parsed.components.pop_back();
    const auto directory = drives_.HostPath(parsed);
    if (!directory) return {};
    const auto st = StatOf(*directory);
    if (!st || !S_ISDIR(st->st_mode)) return {};

    const std::uint32_t excluded = ~attributeMask & (faHidden | faSysFile | faDirectory);
    std::vector<FoundFile> found;
    auto consider = [&](const std::string& name, const std::string& hostPath) {
        if (!MatchesMask(mask, name)) return;
        const auto entry = StatOf(hostPath);
        if (!entry) return;
        const bool isDirectory = S_ISDIR(entry->st_mode);
        const std::uint32_t bits = AttributesOfHostEntry(hostPath, isDirectory);
        if ((bits & excluded) != 0) return;
        found.push_back({name, bits, isDirectory ? 0 : static_cast<std::int64_t>(entry->st_size)});
    };

    const std::string prefix = *directory == "/" ? "/" : *directory + "/";
    // A name without wildcards finds at most that one entry: looked up,
    // not searched for in a listing of the whole directory.
    if (mask.find_first_of("*?") == std::string::npos) {
        const auto entry = drives_.FindEntry(*directory, HostNameOf(mask));
        const auto name = entry ? WindowsNameOfHost(*entry) : std::nullopt;
        if (name && EqualsIgnoringCase(*name, mask)) consider(*name, prefix + *entry);
        return found;
    }
    // Like find-first/find-next, a directory below a root lists "." and ".."
    // before its entries.
    // An entry whose name has no code page 1252 form is left out, as the
    // Windows machine's listing leaves it out: no substitute name that
    // would lead to another file.
    std::vector<std::pair<std::string, std::string>> names;  // the name, its host form
    {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory->c_str()), ::closedir);
        if (!dir) return {};
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string host = entry->d_name;
            if (host == "." || host == "..") continue;
            if (auto name = WindowsNameOfHost(host)) names.emplace_back(std::move(*name), host);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return FoldCase(a.first) < FoldCase(b.first); });
    if (!parsed.components.empty()) {
        consider(".", *directory);
        consider("..", ParentOf(*directory));
    }
    for (const auto& [name, host] : names) consider(name, prefix + host);
    return found;
}

bool SimFileSystem::FileExists(const std::string& path) {
    const auto host = HostPathOf(path);
    if (!host) return false;
    const auto st = StatOf(*host);
    return st && !S_ISDIR(st->st_mode);
}

bool SimFileSystem::DirectoryExists(const std::string& path) {
    const auto host = HostPathOf(path);
    if (!host) return false;
    const auto st = StatOf(*host);
    return st && S_ISDIR(st->st_mode);
}

std::optional<std::uint32_t> SimFileSystem::GetAttributes(const std::string& path) {
    const auto host = HostPathOf(path);
    if (!host) return std::nullopt;
    const auto own = LinkStatOf(*host);
    if (!own) return std::nullopt;
    if (S_ISLNK(own->st_mode)) {
        // Windows reports a link's own attributes; a dangling one is a file.
        const auto target = StatOf(*host);
        const bool isDirectory = target && S_ISDIR(target->st_mode);
        return (isDirectory ? static_cast<std::uint32_t>(faDirectory) : 0u) | faReparsePoint;
    }
    return AttributesOfHostEntry(*host, S_ISDIR(own->st_mode));
}

bool SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (!MayChange(path)) return false;
    const auto host = HostPathOf(path);
    if (!host) return false;
    const auto st = StatOf(*host);
    if (!st) return false;
    if (S_ISDIR(st->st_mode)) return attributes_.Set(*host, attributes & kStoredDirectoryBits);
    return SetFileAttributes(*host, st->st_mode, attributes);
}

bool SimFileSystem::SetFileAttributes(const std::string& host, mode_t mode,
                                      std::uint32_t attributes) {
    const mode_t writeBits = S_IWUSR | S_IWGRP;
    const mode_t wanted =
        (attributes & faReadOnly) ? (mode & ~(writeBits | S_IWOTH)) : (mode | writeBits);
    if (!attributes_.Set(host, attributes & kStoredFileBits)) return false;
    return ::chmod(host.c_str(), wanted & 07777) == 0;
}

bool SimFileSystem::MakeDirectory(const std::string& path) {
    if (!MayChange(path)) return false;
    const auto host = HostPathForNewEntry(path);
    if (!host || ::mkdir(host->c_str(), 0755) != 0) return false;
    drives_.NoteAdded(*host);
    return true;
}

bool SimFileSystem::RemoveEmptyDirectory(const std::string& path) {
    if (!MayChange(path)) return false;
    ParsedPath parsed;
    if (!Parse(path, parsed) || parsed.components.empty()) return false;  // never a root
    const auto host = drives_.HostPath(parsed);
    if (!host || ::rmdir(host->c_str()) != 0) return false;
    drives_.NoteRemoved(*host);
    attributes_.Forget(*host);
    return true;
}

bool SimFileSystem::RemoveFile(const std::string& path) {
    if (!MayChange(path)) return false;
    const auto host = HostPathOf(path);
    if (!host) return false;
    const auto own = LinkStatOf(*host);
    if (own && S_ISLNK(own->st_mode)) {
        if (::unlink(host->c_str()) != 0) return false;
        drives_.NoteRemoved(*host);
        return true;
    }
    const auto st = StatOf(*host);
    if (!st || S_ISDIR(st->st_mode) || !IsWritable(*st)) return false;
    // An open file cannot be deleted: nothing here opens with delete sharing.
    if (openFiles_->IsOpen(IdentityOf(*st))) return false;
    if (::unlink(host->c_str()) != 0) return false;
    drives_.NoteRemoved(*host);
    attributes_.Forget(*host);
    return true;
}

std::unique_ptr<FileStream> SimFileSystem::OpenExisting(const std::string& path, OpenMode mode) {
    // The reasons in the words Windows gives them.
    static const char* const kNotFound = "The system cannot find the file specified.";
    static const char* const kDenied = "Access is denied.";
    static const char* const kInUse =
        "The process cannot access the file because it is being used by another process.";
    const auto host = HostPathOf(path);
    if (!host) throw EFOpenError(path, kNotFound);
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    const int descriptor = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) throw EFOpenError(path, errno == EACCES ? kDenied : kNotFound);
    struct stat st {};
    const char* refusal = nullptr;
    if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode)) {
        refusal = kDenied;
    } else if (!openFiles_->MayOpen(IdentityOf(st), mode)) {
        refusal = kInUse;
    } else if (::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        refusal = kDenied;
    }
    if (refusal != nullptr) {
        ::close(descriptor);
        throw EFOpenError(path, refusal);
    }
    return std::make_unique<SimFileStream>(descriptor, IdentityOf(st), mode, openFiles_);
}

std::unique_ptr<FileStream> SimFileSystem::OpenRead(const std::string& path) {
    return OpenExisting(path, OpenMode::SharedRead);
}

std::unique_ptr<FileStream> SimFileSystem::OpenReadExclusive(const std::string& path) {
    return OpenExisting(path, OpenMode::ExclusiveRead);
}

std::unique_ptr<FileStream> SimFileSystem::Create(const std::string& path) {
    if (!MayChange(path)) throw EFCreateError(path);
    const auto host = HostPathForNewEntry(path);
    if (!host) throw EFCreateError(path);
    const auto existing = LinkStatOf(*host);
    if (existing) {
        // A link in the machine's folder is replaced, never written through:
        // what it leads to may lie anywhere on the host.
        if (S_ISLNK(existing->st_mode)) {
            if (::unlink(host->c_str()) != 0) throw EFCreateError(path);
        } else if (!S_ISREG(existing->st_mode) || !IsWritable(*existing) ||
                   !openFiles_->MayOpen(IdentityOf(*existing), OpenMode::ExclusiveWrite)) {
            throw EFCreateError(path);
        }
    }
    // O_NOFOLLOW refuses a link that appeared since the check above.
    const int descriptor = ::open(
        host->c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (descriptor < 0) throw EFCreateError(path);
    struct stat st {};
    if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        throw EFCreateError(path);
    }
    if (!existing) drives_.NoteAdded(*host);
    // A replaced file keeps hidden and system and gains archive, as Wine does.
    if (const auto stored = attributes_.Find(*host)) {
        attributes_.Set(*host, (*stored & (faHidden | faSysFile)) | faArchive);
    }
    // The stream may set its file's attributes while this file system lives.
    return std::make_unique<SimFileStream>(
        descriptor, IdentityOf(st), OpenMode::ExclusiveWrite, openFiles_,
        [this, hostPath = *host](std::uint32_t attributes) {
            const auto now = StatOf(hostPath);
            return now && SetFileAttributes(hostPath, now->st_mode, attributes);
        });
}

// rename() replaces the target in one step, as MoveFileEx does.
bool SimFileSystem::MoveOnto(const std::string& source, const std::string& target) {
    if (!MayChange(source) || !MayChange(target)) return false;
    const auto from = HostPathOf(source);
    const auto to = HostPathForNewEntry(target);
    if (!from || !to) return false;
    const auto own = LinkStatOf(*from);
    if (!own || !S_ISREG(own->st_mode) || openFiles_->IsOpen(IdentityOf(*own))) return false;
    if (const auto existing = LinkStatOf(*to)) {
        if (!S_ISREG(existing->st_mode) || !IsWritable(*existing) ||
            openFiles_->IsOpen(IdentityOf(*existing))) {
            return false;
        }
    }
    const auto bits = attributes_.Find(*from);
    const bool replacing = LinkStatOf(*to).has_value();
    if (::rename(from->c_str(), to->c_str()) != 0) return false;
    drives_.NoteRemoved(*from);
    if (!replacing) drives_.NoteAdded(*to);
    attributes_.Forget(*from);
    attributes_.Forget(*to);
    if (bits) attributes_.Set(*to, *bits);
    return true;
}

// RENAME_NOREPLACE keeps the check and the move one step; a host file
// system without it gets link and unlink, which refuse an existing name too.
bool SimFileSystem::MoveToNew(const std::string& source, const std::string& target) {
    if (!MayChange(source) || !MayChange(target)) return false;
    const auto from = HostPathOf(source);
    const auto to = HostPathForNewEntry(target);
    if (!from || !to || LinkStatOf(*to)) return false;
    const auto own = LinkStatOf(*from);
    if (!own || !S_ISREG(own->st_mode) || openFiles_->IsOpen(IdentityOf(*own))) return false;
    if (::renameat2(AT_FDCWD, from->c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS) return false;
        if (::link(from->c_str(), to->c_str()) != 0) return false;
        ::unlink(from->c_str());
    }
    const auto bits = attributes_.Find(*from);
    drives_.NoteRemoved(*from);
    drives_.NoteAdded(*to);
    attributes_.Forget(*from);
    if (bits) attributes_.Set(*to, *bits);
    return true;
}

std::optional<std::uint32_t> SimFileSystem::GetDosDateTime(const std::string& path) {
    const auto host = HostPathOf(path);
    if (!host) return std::nullopt;
    const auto st = StatOf(*host);
    if (!st || S_ISDIR(st->st_mode)) return std::nullopt;
    return TimeToDosDateTime(st->st_mtime);
}

// A: and B: are floppy drives; a read-only drive is taken for a CD.
std::vector<DriveInfo> SimFileSystem::Drives() {
    std::vector<DriveInfo> drives;
    for (char letter : drives_.Letters()) {
        DriveKind kind = DriveKind::Fixed;
        if (letter == 'A' || letter == 'B') {
            kind = DriveKind::Removable;
        } else if (drives_.ReadOnly(letter)) {
            kind = DriveKind::CdRom;
        }
        drives.push_back(DriveInfo{letter, kind});
    }
    return drives;
}

std::optional<std::uint64_t> SimFileSystem::FreeSpace(int drive) {
    char letter = 0;
    if (drive == 0) {
        letter = currentDirectory_[0];
    } else if (drive >= 1 && drive <= 26) {
        letter = static_cast<char>('A' + drive - 1);
    } else {
        return std::nullopt;
    }
    const auto folder = drives_.DriveFolder(letter);
    if (!folder) return std::nullopt;
    struct statvfs vfs {};
    if (::statvfs(folder->c_str(), &vfs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(vfs.f_bavail) * static_cast<std::uint64_t>(vfs.f_frsize);
}

}  // namespace kav::platform::sim
