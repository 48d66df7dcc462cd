#include <algorithm>
#include <cctype>

#include "platform/file_system.h"

namespace kav::platform {

std::vector<std::string> FileSystem::SubDirectories(const std::string& directory) {
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    std::vector<std::string> names;
    for (const FoundFile& found : FindFiles(pattern, faAnyFile)) {
        if ((found.attributes & faDirectory) == 0) continue;
        if (found.name == "." || found.name == "..") continue;
        names.push_back(found.name);
    }
    auto lower = [](unsigned char c) { return std::tolower(c); };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
                return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
            });
    });
    return names;
}

}  // namespace kav::platform
