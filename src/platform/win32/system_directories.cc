#include "platform/win32/system_directories.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shlobj.h>

#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

// The buffers the program has always used: 144 characters for the Windows
// directory, 256 for a short path, each with its terminating zero.
constexpr UINT kWindowsDirectoryBuffer = 144;
constexpr DWORD kShortPathBuffer = 256;

int CsidlOf(ShellFolder folder) {
    switch (folder) {
        case ShellFolder::kPrograms:
            return CSIDL_PROGRAMS;
        case ShellFolder::kStartMenu:
            return CSIDL_STARTMENU;
        case ShellFolder::kDesktop:
            return CSIDL_DESKTOPDIRECTORY;
        case ShellFolder::kCommonPrograms:
            return CSIDL_COMMON_PROGRAMS;
        case ShellFolder::kCommonStartMenu:
            return CSIDL_COMMON_STARTMENU;
        case ShellFolder::kCommonDesktop:
            return CSIDL_COMMON_DESKTOPDIRECTORY;
        case ShellFolder::kAppData:
            return CSIDL_APPDATA;
        case ShellFolder::kProgramFiles:
            return CSIDL_PROGRAM_FILES;
    }
    return -1;
}

}  // namespace

std::string Win32SystemDirectories::WindowsDirectory() {
    wchar_t buffer[kWindowsDirectoryBuffer] = {};
    const UINT length = ::GetWindowsDirectoryW(buffer, kWindowsDirectoryBuffer);
    if (length > 0 && length < kWindowsDirectoryBuffer)
        return NameFromWide(std::wstring_view(buffer, length));
    // A longer Windows directory is returned whole: a cut path would name
    // some other directory.
    if (length >= kWindowsDirectoryBuffer) {
        std::wstring whole(length, L'\0');
        const UINT filled = ::GetWindowsDirectoryW(whole.data(), length);
        if (filled > 0 && filled < length) {
            whole.resize(filled);
            return NameFromWide(whole);
        }
    }
    return {};
}

std::string Win32SystemDirectories::ShortPathName(const std::string& path) {
    wchar_t buffer[kShortPathBuffer] = {};
    const DWORD length = ::GetShortPathNameW(Wide(path).c_str(), buffer, kShortPathBuffer);
    if (length == 0 || length >= kShortPathBuffer) return {};
    return NameFromWide(std::wstring_view(buffer, length));
}

std::string Win32SystemDirectories::ShellFolderPath(ShellFolder folder) {
    const int csidl = CsidlOf(folder);
    if (csidl < 0) return {};
    // The folder's current place, whether or not it exists yet; a 32-bit
    // program asking for CSIDL_PROGRAM_FILES gets its own "Program Files".
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    std::string path = NameFromWide(buffer);
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

bool Win32SystemDirectories::IsAdministrator() { return ::IsUserAnAdmin() != FALSE; }

}  // namespace kav::platform
