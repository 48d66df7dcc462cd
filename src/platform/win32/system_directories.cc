#include "platform/win32/system_directories.h"

#include <windows.h>

namespace kav::platform {
namespace {

// The buffers the program has always used: 144 characters for the Windows
// directory, 256 for a short path, each with its terminating zero.
constexpr UINT kWindowsDirectoryBuffer = 144;
constexpr DWORD kShortPathBuffer = 256;

}  // namespace

std::string Win32SystemDirectories::WindowsDirectory() {
    char buffer[kWindowsDirectoryBuffer] = {};
    const UINT length = ::GetWindowsDirectoryA(buffer, kWindowsDirectoryBuffer);
    if (length > 0 && length < kWindowsDirectoryBuffer) return std::string(buffer, length);
    // A longer Windows directory is returned whole: a cut path would name
    // some other directory.
    if (length >= kWindowsDirectoryBuffer) {
        std::string whole(length, '\0');
        const UINT filled = ::GetWindowsDirectoryA(whole.data(), length);
        if (filled > 0 && filled < length) {
            whole.resize(filled);
            return whole;
        }
    }
    return {};
}

std::string Win32SystemDirectories::ShortPathName(const std::string& path) {
    char buffer[kShortPathBuffer] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, kShortPathBuffer);
    if (length == 0 || length >= kShortPathBuffer) return {};
    return std::string(buffer, length);
}

}  // namespace kav::platform
