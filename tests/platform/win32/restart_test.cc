#include "platform/win32/restart.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <vector>

namespace kav::platform {
namespace {

// Whether the privilege is enabled in this process's token, read back
// through the token itself.
std::optional<bool> PrivilegeEnabled(const char* name) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    LUID luid{};
    std::optional<bool> enabled;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (::LookupPrivilegeValueA(nullptr, name, &luid) && size > 0 &&
        ::GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        const LUID_AND_ATTRIBUTES* entries = privileges->Privileges;
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            if (entries[i].Luid.LowPart == luid.LowPart &&
                entries[i].Luid.HighPart == luid.HighPart) {
                enabled = (entries[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
            }
        }
    }
    ::CloseHandle(token);
    return enabled;
}

TEST(Win32RestartTest, AdjustPrivilegeEnablesAndDisablesTheShutdownPrivilege) {
    Win32Restart restart([](unsigned) { return false; });
    ASSERT_TRUE(restart.AdjustPrivilege("SeShutdownPrivilege", true));
    EXPECT_EQ(PrivilegeEnabled("SeShutdownPrivilege"), true);
    ASSERT_TRUE(restart.AdjustPrivilege("SeShutdownPrivilege", false));
    EXPECT_EQ(PrivilegeEnabled("SeShutdownPrivilege"), false);
}

TEST(Win32RestartTest, AdjustPrivilegeRefusesAnUnknownPrivilege) {
    Win32Restart restart([](unsigned) { return false; });
    EXPECT_FALSE(restart.AdjustPrivilege("SeNoSuchPrivilege", true));
    EXPECT_FALSE(restart.AdjustPrivilege("", false));
}

TEST(Win32RestartTest, ExitSessionPassesTheFlagsAndTheAnswerThrough) {
    std::vector<unsigned> requests;
    bool accept = false;
    Win32Restart restart([&](unsigned flags) {
        requests.push_back(flags);
        return accept;
    });
    EXPECT_FALSE(restart.ExitSession(2));
    accept = true;
    EXPECT_TRUE(restart.ExitSession(2 | 4));
    EXPECT_EQ(requests, (std::vector<unsigned>{2, 6}));
}

}  // namespace
}  // namespace kav::platform
