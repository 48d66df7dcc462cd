#pragma once
// The system's own directories and short names.
#include <string>

namespace kav::platform {

// The shell's folders the installer puts things in. The "Common" ones are
// shared by all users; the others are the current user's.
enum class ShellFolder {
    kPrograms,        // the Start menu's Programs folder
    kStartMenu,       // the Start menu itself
    kDesktop,         // the desktop's folder
    kCommonPrograms,  // the same three for all users
    kCommonStartMenu,
    kCommonDesktop,
    kAppData,       // the user's application data, home of the quick-launch bar
    kProgramFiles,  // where programs of this program's kind are installed
};

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
    // The shell's folder (SHGetFolderPathA), full and without a trailing
    // "\"; empty when the system has none. The folder need not exist yet.
    virtual std::string ShellFolderPath(ShellFolder folder) = 0;
    // Whether this process has administrator rights, and so may write the
    // folders shared by all users.
    virtual bool IsAdministrator() = 0;
};

}  // namespace kav::platform
