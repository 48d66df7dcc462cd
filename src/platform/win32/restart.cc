#include "platform/win32/restart.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

constexpr DWORD kTokenAccess = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY;  // 0x28

KernelHandle OpenOwnToken(DWORD access) {
    KernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), access, token.Receive())) token.Release();
    return token;
}

}  // namespace

Win32Restart::Win32Restart()
    : exitWindows_([](unsigned flags) { return ::ExitWindowsEx(flags, 0) != FALSE; }) {}

bool Win32Restart::AdjustPrivilege(const std::string& name, bool enable) {
    const KernelHandle token = OpenOwnToken(kTokenAccess);
    if (!token) return false;
    TOKEN_PRIVILEGES request{};
    request.PrivilegeCount = 1;
    if (!::LookupPrivilegeValueA(nullptr, name.c_str(), &request.Privileges[0].Luid)) {
        return false;
    }
    request.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &request, sizeof(request), &previous,
                                 &previousLength)) {
        return false;
    }
    // The call also "succeeds" when the token lacks the privilege; that is
    // a refusal all the same.
    return ::GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

bool Win32Restart::ExitSession(unsigned flags) { return exitWindows_(flags); }

bool Win32Restart::RemoveAtRestart(const std::string& path) {
    return ::MoveFileExW(Wide(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

}  // namespace kav::platform
