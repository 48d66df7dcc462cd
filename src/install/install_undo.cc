#include "install/install_undo.h"

#include "base/path_parts.h"
#include "setup/file_operations.h"

namespace kav::install {

namespace {

constexpr const char* kWas = "was:";

// A recorded key must stay one key: no "=", no line end, and nothing a
// profile reader would take for a section or a comment.
bool IsRecordableKey(const std::string& key) {
    if (key.empty() || key.front() == '[' || key.front() == ';') return false;
    return key.find_first_of("=\r\n") == std::string::npos;
}

// A new folder of its own for the saved copy, so that files of one name
// from several folders do not meet; empty when none can be made.
std::string NewSavedCopyFolder(platform::FileSystem& files, const std::string& folder) {
    for (int n = 1; n < 100000; ++n) {
        const std::string candidate = folder + "\\" + std::to_string(n);
        if (files.FileExists(candidate) || files.DirectoryExists(candidate)) continue;
        return files.MakeDirectory(candidate) ? candidate : std::string();
    }
    return std::string();
}

}  // namespace

std::optional<std::string> SaveBeforeReplacing(platform::FileSystem& files, UninstallScript& script,
                                               const std::string& installDirectory,
                                               const std::string& target) {
    if (script.IsRecorded(kUninstallFileStates, target)) return std::string();
    if (!files.FileExists(target)) return std::string(kFileNew);
    // The folders for saved copies are the install's own: noted, so that the
    // uninstaller takes them away once they are empty.
    const std::string setupFolder = installDirectory + "\\Setup";
    const std::string savedFolder = installDirectory + kSavedFilesFolder;
    const bool hadSetup = files.DirectoryExists(setupFolder);
    const bool hadSaved = files.DirectoryExists(savedFolder);
    if (!setup::ForceDirectories(files, savedFolder)) return std::nullopt;
    if (!hadSetup) script.Record(kUninstallDirectories, setupFolder);
    if (!hadSaved) script.Record(kUninstallDirectories, savedFolder);
    const std::string folder = NewSavedCopyFolder(files, savedFolder);
    if (folder.empty()) return std::nullopt;
    try {
        setup::CopyFile(files, target, folder);
    } catch (const kav::Exception&) {
        files.RemoveEmptyDirectory(folder);
        return std::nullopt;
    }
    return folder + "\\" + base::FileNamePart(target);
}

void NotePlacedFile(UninstallScript& script, const std::string& target, const std::string& state) {
    if (!state.empty()) script.RecordOnce(kUninstallFileStates, target, state);
}

void NoteFailedCopy(UninstallScript& script, const std::string& target, const std::string& state) {
    if (state != kFileNew) NotePlacedFile(script, target, state);
}

void RecordKeptFile(UninstallScript& script, const std::string& target) {
    script.RecordOnce(kUninstallFileStates, target, kFileKept);
}

void RecordIniEntry(platform::ProfileFiles& profiles, UninstallScript& script,
                    const std::string& path, const std::string& file, const std::string& section,
                    const std::string& key) {
    RecordKeptFile(script, path);
    if (script.RecordedValue(kUninstallFileStates, path) == std::string(kFileNew)) return;
    const std::string place = JoinPlace({file, section, key});
    if (!IsRecordableKey(place)) return;
    const std::string absent = "|absent|";
    const std::string value = profiles.ReadString(file, section, key, absent);
    script.RecordOnce(
        kUninstallIniEntries, place,
        PreviousValueRecord(value == absent ? std::nullopt : std::optional<std::string>(value)));
}

void RecordRegistryValue(platform::Registry& registry, UninstallScript& script,
                         platform::RootKey root, const std::string& key, const std::string& name) {
    // The keys this install creates, shallowest first.
    std::string path = RootName(root);
    std::size_t start = 0;
    while (start < key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) {
            const std::string below = key.substr(0, end);
            path += "\\" + key.substr(start, end - start);
            if (!registry.KeyExists(root, below) && IsRecordableKey(path)) {
                script.RecordOnce(kUninstallRegistryKeys, path, "");
            }
        }
        start = end + 1;
    }
    const std::string place = JoinPlace({path, name});
    if (!IsRecordableKey(place)) return;
    script.RecordOnce(kUninstallRegistryValues, place,
                      PreviousValueRecord(registry.ReadStringValue(root, key, name)));
}

void RecordAutoexecBlock(UninstallScript& script, const std::vector<std::string>& block) {
    script.ClearSection(kUninstallAutoexecLines);
    for (std::size_t i = 0; i < block.size(); ++i) {
        // Quoted, so that blanks at either end and quotes of its own survive
        // the profile reader.
        script.RecordOnce(kUninstallAutoexecLines, "Line" + std::to_string(i + 1),
                          "\"" + block[i] + "\"");
    }
}

std::string PreviousValueRecord(const std::optional<std::string>& previous) {
    return previous ? kWas + *previous : std::string(kFileNew);
}

std::optional<std::string> PreviousValue(const std::string& record) {
    if (record.compare(0, 4, kWas) != 0) return std::nullopt;
    return record.substr(4);
}

std::string JoinPlace(const std::vector<std::string>& parts) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "|" : "") + parts[i];
    return joined;
}

std::vector<std::string> SplitPlace(const std::string& place, std::size_t parts) {
    std::vector<std::string> split;
    std::string rest = place;
    while (split.size() + 1 < parts) {
        const std::size_t cut = rest.find('|');
        if (cut == std::string::npos) break;
        split.push_back(rest.substr(0, cut));
        rest.erase(0, cut + 1);
    }
    split.push_back(rest);
    return split;
}

std::string RootName(platform::RootKey root) {
    return root == platform::RootKey::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

}  // namespace kav::install
