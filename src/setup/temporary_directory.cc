#include "setup/temporary_directory.h"

#include <cctype>

#include "base/ascii_case.h"
#include "base/path_parts.h"

namespace kav::setup {

bool IsSetFileName(const std::string& name) {
    const std::string lower = base::AsciiLower(name);
    if (lower == "install.exe" || lower == "install.cfg") return true;
    return lower.size() == 8 && lower.starts_with("disk.") &&
           std::isdigit(static_cast<unsigned char>(lower[5])) &&
           std::isdigit(static_cast<unsigned char>(lower[6])) &&
           std::isdigit(static_cast<unsigned char>(lower[7]));
}

void ClearTemporaryDirectory(platform::FileSystem& files, const std::string& directory) {
    if (directory.empty()) return;
    if (base::IsDriveRoot(directory) || base::IsDriveRoot(files.FullPathName(directory))) return;
    for (const platform::FoundFile& entry :
         files.FindFiles(directory + "\\*.*", platform::faAnyFile)) {
        files.RemoveFile(directory + "\\" + entry.name);
    }
    files.RemoveEmptyDirectory(directory);
}

void RemoveSetFiles(platform::FileSystem& files, const std::string& directory) {
    if (directory.empty()) return;
    if (base::IsDriveRoot(directory) || base::IsDriveRoot(files.FullPathName(directory))) return;
    for (const platform::FoundFile& entry :
         files.FindFiles(directory + "\\*.*", platform::faAnyFile)) {
        if (!(entry.attributes & platform::faDirectory) && IsSetFileName(entry.name)) {
            files.RemoveFile(directory + "\\" + entry.name);
        }
    }
    files.RemoveEmptyDirectory(directory);
}

}  // namespace kav::setup
