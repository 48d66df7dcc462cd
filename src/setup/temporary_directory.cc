#include "setup/temporary_directory.h"

#include "setup/routines.h"

namespace kav::setup {

void ClearTemporaryDirectory(platform::FileSystem& files, const std::string& directory) {
    if (directory.empty()) return;
    if (IsDriveRoot(directory) || IsDriveRoot(files.FullPathName(directory))) return;
    for (const platform::FoundFile& entry :
         files.FindFiles(directory + "\\*.*", platform::faAnyFile)) {
        files.RemoveFile(directory + "\\" + entry.name);
    }
    files.RemoveEmptyDirectory(directory);
}

}  // namespace kav::setup
