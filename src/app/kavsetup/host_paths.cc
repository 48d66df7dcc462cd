#include "app/kavsetup/host_paths.h"

#include <filesystem>

#include "platform/sim/host_names.h"
#include "setup/temporary_directory.h"

namespace kav::app {

std::vector<std::string> IrregularSetFiles(const std::string& hostDirectory) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hostDirectory, error)) {
        if (!setup::IsSetFileName(entry.path().filename().string())) continue;
        std::error_code statError;
        if (!entry.is_regular_file(statError)) found.push_back(entry.path().string());
    }
    return found;
}

std::string HostToWindowsPath(const std::string& path, const std::string& hostCurrentDirectory) {
    if (path.size() >= 2 && path[1] == ':') return path;
    std::filesystem::path host(path);
    if (host.is_relative()) host = std::filesystem::path(hostCurrentDirectory) / host;
    std::string normal = host.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    std::string windows = "Z:";
    for (char c : platform::sim::RequireWindowsNameOfHost(normal)) windows += c == '/' ? '\\' : c;
    return windows;
}

std::string WindowsText(const std::string& typed) {
    return platform::sim::WindowsNameOfHost(typed).value_or(typed);
}

}  // namespace kav::app
