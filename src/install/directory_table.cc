#include "install/directory_table.h"

#include "base/ascii_case.h"

namespace kav::install {

namespace {

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

DirectoryEntry DirectoryEntry::Parse(const std::string& entry) {
    const std::size_t at = entry.find('~');
    if (at == std::string::npos) return {base::AsciiUpper(entry), entry};
    return {base::AsciiUpper(entry.substr(0, at)), entry.substr(at + 1)};
}

bool NamesInstallDirectory(const std::vector<std::string>& directories) {
    for (const std::string& entry : directories) {
        if (DirectoryEntry::Parse(entry).tag == kInstallDirTag) return true;
    }
    return false;
}

std::string ResolveDirectory(const DirectoryEntry& entry, const DirectoryBases& bases) {
    const std::string& tag = entry.tag;
    const std::string& path = entry.path;
    const std::string programFiles = bases.programFilesDirectory.empty()
                                         ? bases.systemDriveRoot + "Program Files"
                                         : bases.programFilesDirectory;
    if (tag == "<WINDOWS>") return bases.windowsDirectory;
    if (tag == "<WINDOWS_SYSTEM>") return bases.windowsDirectory + "\\System";
    if (tag == "<PROGRAMFILES>") return programFiles;
    if (tag == kInstallDirTag) return bases.destination;
    if (Contains(tag, "<SUB") && Contains(tag, "><")) {
        if (Contains(tag, "<WINDOWS>")) return bases.windowsDirectory + "\\" + path;
        if (Contains(tag, "<PROGRAMFILES>")) return programFiles + "\\" + path;
        if (Contains(tag, "<WINDOWS_SYSTEM>")) return bases.windowsDirectory + "\\System\\" + path;
        if (Contains(tag, kInstallDirTag)) return bases.installDirectory + "\\" + path;
        return path;
    }
    if (Contains(tag, "<SUB")) return bases.installDirectory + "\\" + path;
    return bases.systemDriveRoot + path;
}

std::string LeadingTag(const std::string& launch) {
    std::size_t end = 0;
    while (end < launch.size() && launch[end] == '<') {
        const std::size_t close = launch.find('>', end);
        if (close == std::string::npos) break;
        end = close + 1;
    }
    return launch.substr(0, end);
}

bool RewriteLaunch(std::string& launch, const DirectoryRow& row) {
    const std::string tag = LeadingTag(launch);
    if (tag.empty() || base::AsciiUpper(tag) != row.tag) return false;
    launch = row.path + "\\" + launch.substr(tag.size());
    return true;
}

}  // namespace kav::install
