#include "setup/routines.h"

#include <algorithm>

namespace kav::setup {

void TakeField(std::string& source, const std::string& delimiter, std::string& field) {
    const std::size_t at = delimiter.empty() ? std::string::npos : source.find(delimiter);
    if (at == std::string::npos) {
        field = source;
        return;
    }
    field = source.substr(0, at);
    source.erase(0, at + delimiter.size());
}

std::string ExtractFileName(const std::string& path) {
    const std::size_t at = path.find_last_of("\\:");
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool IsDriveRoot(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '\\') p.pop_back();
    if (p == "\\") return true;
    if (p.size() == 2 && p[1] == ':') return true;
    if (p.rfind("\\\\", 0) == 0) {
        // "\\server\share" is the root of a network drive.
        const std::size_t server = p.find('\\', 2);
        return server == std::string::npos || p.find('\\', server + 1) == std::string::npos;
    }
    return false;
}

bool ForceDirectories(platform::FileSystem& files, const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
    if (dir.empty() || files.DirectoryExists(dir)) return !dir.empty();
    const std::size_t at = dir.find_last_of('\\');
    if (at != std::string::npos && at > 0) {
        std::string parent = dir.substr(0, at);
        if (parent.size() == 2 && parent[1] == ':') parent += '\\';
        if (parent != dir && !ForceDirectories(files, parent)) return false;
    }
    files.MakeDirectory(dir);
    return files.DirectoryExists(dir);
}

}  // namespace kav::setup
