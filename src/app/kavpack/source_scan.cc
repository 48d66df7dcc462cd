#include "app/kavpack/source_scan.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "base/path_parts.h"
#include "pack/pack_errors.h"
#include "pack/stored_names.h"
#include "platform/sim/dos_time.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

std::int32_t DosDateOf(const fs::path& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error) return 0;
    const auto system = std::chrono::file_clock::to_sys(written);
    return static_cast<std::int32_t>(
        platform::sim::TimeToDosDateTime(std::chrono::system_clock::to_time_t(
            std::chrono::time_point_cast<std::chrono::system_clock::duration>(system))));
}

std::uint16_t AttributesOf(const fs::file_status& status) {
    constexpr std::uint16_t kReadOnly = 0x01, kArchive = 0x20;
    const bool writable = (status.permissions() & fs::perms::owner_write) != fs::perms::none;
    return static_cast<std::uint16_t>(kArchive | (writable ? 0 : kReadOnly));
}

}  // namespace

pack::PackFile PackFileFor(const fs::path& host, const std::string& storedName) {
    pack::PackFile file;
    file.hostPath = host;
    file.storedName = storedName;
    file.size = fs::file_size(host);
    file.fileDate = DosDateOf(host);
    file.attributes = AttributesOf(fs::status(host));
    return file;
}

SourceScan ScanSourceFolder(const fs::path& folder) {
    SourceScan scan;
    std::vector<fs::path> found;
    const auto unreadable = [](const fs::path& at, const std::error_code& error) {
        return pack::EPackError(at.string() + ": cannot be read (" + error.message() + ")");
    };
    std::error_code error;
    auto it = fs::recursive_directory_iterator(folder, error);
    if (error) throw unreadable(folder, error);
    // The entry the iterator was last at is the folder it could not enter.
    fs::path last = folder;
    for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
        last = it->path();
        const fs::path relative = it->path().lexically_relative(folder);
        if (it->is_symlink()) {
            scan.warnings.push_back(relative.generic_string() + ": a link; left out");
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_directory()) continue;
        if (!it->is_regular_file()) {
            scan.warnings.push_back(relative.generic_string() + ": not a regular file; left out");
            continue;
        }
        if (relative == "install.cfg") continue;
        found.push_back(relative);
    }
    if (error) throw unreadable(last, error);
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (const auto& relative : found) {
        std::vector<std::string> parts;
        for (const auto& part : relative) parts.push_back(part.string());
        const pack::StoredName stored = pack::MakeStoredName(parts);
        if (stored.name.empty()) {
            scan.problems.push_back(relative.generic_string() + ": " + stored.problem);
            continue;
        }
        scan.files.push_back(PackFileFor(folder / relative, stored.name));
        names.push_back(stored.name);
    }
    for (auto& problem : pack::StoredNameProblems(names)) scan.problems.push_back(problem);
    return scan;
}

}  // namespace kav::app
