#include "support/scratch_directory.h"

#include <windows.h>
// <shlwapi.h> needs <windows.h> first.
#include <shlwapi.h>

#include <stdexcept>

namespace kav::platform::testing {

std::string UniqueName() {
    static unsigned counter = 0;
    return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

ScratchDirectory::ScratchDirectory() {
    ::CreateDirectoryA("C:\\kavtest", nullptr);
    path_ = "C:\\kavtest\\" + UniqueName();
    RemoveTree(path_);
    if (!::CreateDirectoryA(path_.c_str(), nullptr)) {
        throw std::runtime_error("cannot create the scratch directory " + path_);
    }
}

ScratchDirectory::~ScratchDirectory() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry{};
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") RemoveTree(path + "\\" + name);
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

namespace {

void DeleteFromBothRoots(const std::string& key) {
    ::SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

}  // namespace

ScratchRegistryKey::ScratchRegistryKey() : name_("Software\\KavTest\\" + UniqueName()) {
    DeleteFromBothRoots(name_);
}

ScratchRegistryKey::~ScratchRegistryKey() { DeleteFromBothRoots(name_); }

}  // namespace kav::platform::testing
