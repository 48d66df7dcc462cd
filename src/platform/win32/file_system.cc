#include "platform/win32/file_system.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/win32/file_stream.h"
#include "platform/win32/handles.h"
#include "platform/win32/read_only_guard.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

// Attribute bits that keep an entry out of a listing unless the caller's
// mask asks for them, as find-first/find-next has always filtered.
constexpr std::uint32_t kFilteredAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

// Calls `fill(buffer, size)`, an API that returns the length it wrote or
// the size it needs (including the zero), until the buffer was big enough.
// Empty on failure.
template <typename Fill>
std::string ReadSizedString(Fill fill) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return NameFromWide(buffer);
        }
        buffer.assign(length + 1, L'\0');
    }
}

constexpr const char* kNotADiskFile = "not a file on a disk";
constexpr const char* kReadOnlyFile = "the file is read-only";

std::unique_ptr<FileStream> OpenExisting(const std::string& path, DWORD share) {
    FileHandle handle(::CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) throw EFOpenError(path, SystemMessage(::GetLastError()));
    // A device or a pipe ("CON", "\\\\.\\pipe\\x") is not a file to read.
    if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) throw EFOpenError(path, kNotADiskFile);
    return std::make_unique<Win32FileStream>(std::move(handle));
}

}  // namespace

std::string Win32FileSystem::CurrentDirectory() {
    return ReadSizedString(
        [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) {
    return ::SetCurrentDirectoryW(Wide(path).c_str()) != FALSE;
}

std::string Win32FileSystem::FullPathName(const std::string& path) {
    return ReadSizedString([&path](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(Wide(path).c_str(), size, buffer, nullptr);
    });
}

std::vector<FoundFile> Win32FileSystem::FindFiles(const std::string& pattern,
                                                  std::uint32_t attributeMask) {
    std::vector<FoundFile> found;
    WIN32_FIND_DATAW data{};
    const FindHandle search(::FindFirstFileW(Wide(pattern).c_str(), &data));
    if (!search) return found;
    const std::uint32_t excluded = ~attributeMask & kFilteredAttributes;
    do {
        if (data.dwFileAttributes & excluded) continue;
        // An entry whose name has no code page 1252 form is one the program
        // can name neither to show nor to open: it is left out, never
        // listed under a substitute name that would lead to another file.
        const auto name = OptionalNameFromWide(data.cFileName);
        if (!name) continue;
        const auto size = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        found.push_back({*name, data.dwFileAttributes, size});
    } while (::FindNextFileW(search.Get(), &data));
    return found;
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const auto attributes = GetAttributes(path);
    return attributes && !(*attributes & faDirectory);
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    const auto attributes = GetAttributes(path);
    return attributes && (*attributes & faDirectory);
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(Wide(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return ::CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveEmptyDirectory(const std::string& path) {
    return ::RemoveDirectoryW(Wide(path).c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return ::DeleteFileW(Wide(path).c_str()) != FALSE;
}

std::unique_ptr<FileStream> Win32FileSystem::OpenRead(const std::string& path) {
    return OpenExisting(path, FILE_SHARE_READ);
}

std::unique_ptr<FileStream> Win32FileSystem::OpenReadExclusive(const std::string& path) {
    return OpenExisting(path, 0);
}

std::unique_ptr<FileStream> Win32FileSystem::Create(const std::string& path) {
    const std::wstring wide = Wide(path);
    const auto open = [&wide](DWORD disposition) {
        return FileHandle(::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    // Most files a run writes are new ones: a single open makes them. Only
    // when that fails is the name looked at for a read-only file (under
    // Wine every look at a missing name reads its whole directory).
    FileHandle handle = open(CREATE_NEW);
    if (!handle) {
        if (IsReadOnlyFile(path)) throw EFCreateError(path, kReadOnlyFile);
        handle = open(CREATE_ALWAYS);
    }
    if (!handle) throw EFCreateError(path, SystemMessage(::GetLastError()));
    if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) throw EFCreateError(path, kNotADiskFile);
    return std::make_unique<Win32FileStream>(std::move(handle));
}

bool Win32FileSystem::MoveOnto(const std::string& source, const std::string& target) {
    if (IsReadOnlyFile(target)) return false;
    return ::MoveFileExW(Wide(source).c_str(), Wide(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileSystem::MoveToNew(const std::string& source, const std::string& target) {
    return ::MoveFileExW(Wide(source).c_str(), Wide(target).c_str(), MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}

std::optional<std::uint32_t> Win32FileSystem::GetDosDateTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    FILETIME local{};
    WORD date = 0;
    WORD time = 0;
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time)) {
        return std::nullopt;
    }
    return (static_cast<std::uint32_t>(date) << 16) | time;
}

std::optional<std::uint64_t> Win32FileSystem::FreeSpace(int drive) {
    if (drive < 0 || drive > 26) return std::nullopt;
    const std::string root =
        drive == 0 ? std::string() : std::string(1, char('A' + drive - 1)) + ":\\";
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (!::GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster,
                             &bytesPerSector, &freeClusters, &totalClusters)) {
        return std::nullopt;
    }
    return std::uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}

std::vector<DriveInfo> Win32FileSystem::Drives() {
    std::vector<DriveInfo> drives;
    const DWORD present = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((present & (DWORD{1} << i)) == 0) continue;
        const char letter = static_cast<char>('A' + i);
        const char root[] = {letter, ':', '\\', '\0'};
        DriveKind kind = DriveKind::Unknown;
        switch (::GetDriveTypeA(root)) {
            case DRIVE_REMOVABLE:
                kind = DriveKind::Removable;
                break;
            case DRIVE_FIXED:
                kind = DriveKind::Fixed;
                break;
            case DRIVE_REMOTE:
                kind = DriveKind::Remote;
                break;
            case DRIVE_CDROM:
                kind = DriveKind::CdRom;
                break;
            case DRIVE_RAMDISK:
                kind = DriveKind::RamDisk;
                break;
            default:
                break;
        }
        drives.push_back(DriveInfo{letter, kind});
    }
    return drives;
}

}  // namespace kav::platform
