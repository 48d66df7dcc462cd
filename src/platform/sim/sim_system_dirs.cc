#include "platform/sim/sim_system_dirs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/sim/host_names.h"
#include "platform/sim/short_names.h"

namespace kav::platform::sim {

namespace {

constexpr std::size_t kMaxShortPath = 255;

// The code page 1252 names of a host directory's entries (those that have
// one: only they can have short names the program sees).
std::vector<std::string> EntriesOf(const std::string& hostDirectory) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostDirectory.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (auto name = WindowsNameOfHost(entry->d_name)) names.push_back(std::move(*name));
    }
    return names;
}

}  // namespace

ShellProfile ShellProfile::CurrentWindows(const std::string& userName) {
    const std::string user = "C:\\Users\\" + userName;
    const std::string roaming = user + "\\AppData\\Roaming";
    const std::string shared = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
    ShellProfile profile;
    profile.folders = {
        {ShellFolder::kPrograms, roaming + "\\Microsoft\\Windows\\Start Menu\\Programs"},
        {ShellFolder::kStartMenu, roaming + "\\Microsoft\\Windows\\Start Menu"},
        {ShellFolder::kDesktop, user + "\\Desktop"},
        {ShellFolder::kCommonPrograms, shared + "\\Programs"},
        {ShellFolder::kCommonStartMenu, shared},
        {ShellFolder::kCommonDesktop, "C:\\Users\\Public\\Desktop"},
        {ShellFolder::kAppData, roaming},
        {ShellFolder::kProgramFiles, "C:\\Program Files"},
    };
    return profile;
}

ShellProfile ShellProfile::Windows95() {
    const std::string windows = SimSystemDirectories::kWindowsDirectory;
    ShellProfile profile;
    profile.folders = {
        {ShellFolder::kPrograms, windows + "\\Start Menu\\Programs"},
        {ShellFolder::kStartMenu, windows + "\\Start Menu"},
        {ShellFolder::kDesktop, windows + "\\Desktop"},
        {ShellFolder::kCommonPrograms, windows + "\\Start Menu\\Programs"},
        {ShellFolder::kCommonStartMenu, windows + "\\Start Menu"},
        {ShellFolder::kCommonDesktop, windows + "\\Desktop"},
        {ShellFolder::kAppData, windows + "\\Application Data"},
        {ShellFolder::kProgramFiles, "C:\\Program Files"},
    };
    return profile;
}

std::string SimSystemDirectories::ShellFolderPath(ShellFolder folder) {
    const auto found = profile_.folders.find(folder);
    return found == profile_.folders.end() ? std::string()
                                           : RequireWindowsNameOfHost(found->second);
}

std::string SimSystemDirectories::ShortPathName(const std::string& path) {
    ParsedPath parsed;
    if (!ParseFullPath(path, files_.CurrentDirectory(), parsed)) return std::string();
    auto host = drives_.DriveFolder(parsed.drive);
    if (!host) return std::string();

    // The drive is written as the caller wrote it ("c:" stays "c:").
    const bool spelledDrive = path.size() >= 2 && path[1] == ':';
    std::string shortPath = spelledDrive ? path.substr(0, 2) : std::string{parsed.drive, ':'};
    shortPath += '\\';
    for (std::size_t i = 0; i < parsed.components.size(); ++i) {
        const auto stored = drives_.FindEntry(*host, HostNameOf(parsed.components[i]));
        const auto name = stored ? WindowsNameOfHost(*stored) : std::nullopt;
        if (!name) return std::string();
        if (i > 0) shortPath += '\\';
        shortPath += ShortNameOf(*name, EntriesOf(*host), drives_.CodePage());
        if (host->back() != '/') *host += '/';
        *host += *stored;
    }
    struct stat st {};
    if (::stat(host->c_str(), &st) != 0) return std::string();
    if (parsed.trailingSeparator) shortPath += '\\';
    return shortPath.size() > kMaxShortPath ? std::string() : shortPath;
}

}  // namespace kav::platform::sim
