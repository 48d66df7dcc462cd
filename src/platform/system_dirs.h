#pragma once
// The system's own directories and short names.
#include <string>

namespace kav::platform {

class SystemDirectories {
public:
    virtual ~SystemDirectories() = default;

    // The Windows directory as the system reports it (GetWindowsDirectoryA),
    // without a trailing "\" unless it is a drive root. At most 143
    // characters. Never fails.
    virtual std::string WindowsDirectory() = 0;
    // The short (8.3) form of an existing path, at most 255 characters, or
    // nothing (empty) when the system has none (the path does not exist, or
    // the result would not fit).
    virtual std::string ShortPathName(const std::string& path) = 0;
};

}  // namespace kav::platform
