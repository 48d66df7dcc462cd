#include "setup/temporary_directory.h"

#include <cctype>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "setup/expanded_files.h"

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
        const std::string path = directory + "\\" + entry.name;
        if (!(entry.attributes & platform::faDirectory)) {
            files.RemoveFile(path);
        } else if (ExpandedFiles::IsFolderName(entry.name)) {
            // One of the expansion's folders. A link of that name is taken
            // away itself, never what it leads to.
            if (entry.attributes & platform::faReparsePoint) {
                files.RemoveEmptyDirectory(path);
            } else {
                ClearTemporaryDirectory(files, path);
            }
        }
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
