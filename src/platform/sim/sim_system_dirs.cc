#include "platform/sim/sim_system_dirs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/sim/short_names.h"

namespace kav::platform::sim {

namespace {

constexpr std::size_t kMaxShortPath = 255;

std::vector<std::string> EntriesOf(const std::string& hostDirectory) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostDirectory.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) names.emplace_back(entry->d_name);
    return names;
}

}  // namespace

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
        const auto stored = drives_.FindEntry(*host, parsed.components[i]);
        if (!stored) return std::string();
        if (i > 0) shortPath += '\\';
        shortPath += ShortNameOf(*stored, EntriesOf(*host));
        if (host->back() != '/') *host += '/';
        *host += *stored;
    }
    struct stat st {};
    if (::stat(host->c_str(), &st) != 0) return std::string();
    if (parsed.trailingSeparator) shortPath += '\\';
    return shortPath.size() > kMaxShortPath ? std::string() : shortPath;
}

}  // namespace kav::platform::sim
