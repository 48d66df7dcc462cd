#pragma once
#include "platform/system_dirs.h"

namespace kav::platform {

// GetWindowsDirectoryA, GetShortPathNameA, SHGetFolderPathA and
// IsUserAnAdmin.
class Win32SystemDirectories final : public SystemDirectories {
public:
    std::string WindowsDirectory() override;
    std::string ShortPathName(const std::string& path) override;
    std::string ShellFolderPath(ShellFolder folder) override;
    bool IsAdministrator() override;
};

}  // namespace kav::platform
