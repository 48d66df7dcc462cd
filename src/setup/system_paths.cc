#include "setup/system_paths.h"

namespace kav::setup {

namespace {
constexpr std::size_t kMaxWindowsDirectory = 143;
constexpr std::size_t kMaxShortPath = 255;
}  // namespace

std::string WindowsDirectory(platform::SystemDirectories& dirs) {
    std::string dir = dirs.WindowsDirectory();
    if (dir.size() > kMaxWindowsDirectory) dir.resize(kMaxWindowsDirectory);
    return dir;
}

std::string ProgramFilesDirectory(platform::SystemDirectories& dirs) {
    std::string shell = dirs.ShellFolderPath(platform::ShellFolder::kProgramFiles);
    while (shell.size() > 3 && shell.back() == '\\') shell.pop_back();
    if (!shell.empty()) return shell;
    return WindowsDirectory(dirs).substr(0, 3) + "Program Files";
}

std::string ShortPathName(platform::SystemDirectories& dirs, const std::string& path) {
    const std::string shortName = dirs.ShortPathName(path);
    if (shortName.empty() || shortName.size() > kMaxShortPath) return path;
    return shortName;
}

}  // namespace kav::setup
