#pragma once
// The uninstall script as the uninstaller reads it: the title, the lists of
// what the install put on the machine, and the install's own records of how
// things were before it.
#include <string>
#include <utility>
#include <vector>

#include "platform/exception.h"
#include "platform/file_system.h"

namespace kav::uninstall {

// The uninstaller cannot go on; the message is the user's.
class EUninstallError : public kav::Exception {
public:
    using kav::Exception::Exception;
};

// A key with its value, in file order.
using RecordEntry = std::pair<std::string, std::string>;

struct UninstallRecord {
    std::string scriptFile;        // the uninstall script's full path
    std::string installDirectory;  // the folder that holds it
    std::string title;
    std::string productId;                 // its Uninstall key's name: the title when not written
    std::vector<std::string> files;        // UNINS: paths and patterns
    std::vector<std::string> folders;      // Folders: link folders
    std::vector<std::string> registry;     // Registry: keys, root name included
    std::vector<std::string> directories;  // Directories: made by the install
    std::vector<std::string> autoexecFiles;
    std::vector<std::string> autoexecLines;   // the block, markers included
    std::vector<RecordEntry> fileStates;      // path, "new" / "kept" / saved copy
    std::vector<RecordEntry> iniEntries;      // file|section|key, previous value
    std::vector<RecordEntry> registryValues;  // key|name, previous value
    std::vector<std::string> registryKeys;    // keys the install created
};

// Reads the script `scriptFile` (a full path). The file is read whole and
// parsed as the profile functions see it: only the first section of a name
// counts, keys match without regard to case and a key met again is ignored,
// values are trimmed and lose one pair of enclosing quotes; no list is cut
// short, however long. Throws EUninstallError when it cannot be read.
UninstallRecord ReadUninstallRecord(platform::FileSystem& files, const std::string& scriptFile);

// `text` without the blanks and tabs at either end.
std::string TrimBlanks(const std::string& text);

// Throws EUninstallError unless the script was written for `title`.
void CheckTitle(const UninstallRecord& record, const std::string& title);

}  // namespace kav::uninstall
