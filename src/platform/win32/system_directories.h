#pragma once
#include "platform/system_dirs.h"

namespace kav::platform {

// GetWindowsDirectoryA and GetShortPathNameA.
class Win32SystemDirectories final : public SystemDirectories {
public:
    std::string WindowsDirectory() override;
    std::string ShortPathName(const std::string& path) override;
};

}  // namespace kav::platform
