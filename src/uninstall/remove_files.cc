// The file steps: replaced files put back, the listed files and patterns,
// the link folders, and the folders the install made.
#include <algorithm>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/directory_table.h"
#include "install/install_undo.h"
#include "install/text_file.h"
#include "uninstall/removal.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// Files the shell shows as links; only these are taken from link folders.
bool IsLinkFile(const std::string& name) {
    const std::string upper = base::AsciiUpper(name);
    for (const char* end : {".LNK", ".PIF", ".URL"}) {
        const std::size_t size = std::string(end).size();
        if (upper.size() > size && upper.compare(upper.size() - size, size, end) == 0) return true;
    }
    return false;
}

std::string ParentOf(const std::string& full) {
    const std::size_t cut = full.find_last_of('\\');
    return cut == std::string::npos ? std::string() : full.substr(0, cut);
}

// The copy of AUTOEXEC.BAT the install keeps at a drive root.
bool IsAutoexecBackup(const std::string& full) {
    const std::size_t cut = full.find_last_of('\\');
    return cut != std::string::npos && base::IsDriveRoot(full.substr(0, cut + 1)) &&
           base::AsciiUpper(full.substr(cut + 1)) == "AUTOEXEC.KAV";
}

std::size_t Depth(const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

}  // namespace

void Removal::RestoreReplacedFiles() {
    for (const auto& [path, state] : record_.fileStates) {
        if (state == install::kFileNew || state == install::kFileKept) continue;
        // The install's own copy of AUTOEXEC.BAT took the place of an
        // "autoexec.kav" that was there: that copy is needed to put
        // AUTOEXEC.BAT back first.
        if (IsAutoexecBackup(guard_.Full(path))) continue;
        RestoreReplacedFile(path, state);
    }
}

void Removal::RestoreEarlierAutoexecBackups() {
    for (const auto& [path, state] : record_.fileStates) {
        if (state == install::kFileNew || state == install::kFileKept) continue;
        const std::string target = guard_.Full(path);
        if (!IsAutoexecBackup(target)) continue;
        // Still there, the install's copy is the only one of AUTOEXEC.BAT
        // as it was before: both stay.
        if (machine_.Files().FileExists(target)) {
            Left(target, "holds AUTOEXEC.BAT as it was before the install; the earlier one is in " +
                             guard_.Full(state));
            continue;
        }
        RestoreReplacedFile(path, state);
    }
}

void Removal::RestoreReplacedFile(const std::string& path, const std::string& state) {
    platform::FileSystem& files = machine_.Files();
    const std::string savedFolder = guard_.InstallDirectory().empty()
                                        ? std::string()
                                        : guard_.InstallDirectory() + install::kSavedFilesFolder;
    Step(path);
    const std::string target = guard_.Full(path);
    const std::string saved = guard_.Full(state);
    // The file this uninstaller runs from replaced an uninstaller that an
    // earlier install left (its removal waiting for a restart): nothing
    // to put back, and the running one goes like any product file.
    if (IsRunningProgram(target) && PathGuard::IsBelow(saved, savedFolder)) {
        files.RemoveFile(saved);
        files.RemoveEmptyDirectory(ParentOf(saved));
        states_[base::AsciiUpper(target)] = install::kFileNew;
        return;
    }
    handled_.insert(base::AsciiUpper(target));
    const std::string refusal = guard_.RefusalForFile(target);
    if (!refusal.empty()) {
        Left(target, refusal);
        return;
    }
    if (!PathGuard::IsBelow(saved, savedFolder) || guard_.PassesThroughLink(saved) ||
        !files.FileExists(saved)) {
        Left(target, "the copy saved before the install is missing");
        return;
    }
    if (guard_.PassesThroughLink(ParentOf(target)) || files.DirectoryExists(target)) {
        Left(target, "its folder is no longer where it was");
        return;
    }
    // Written beside the target first, so that the target is replaced in
    // one step or not at all.
    bool restored = false;
    try {
        const std::string bytes = install::ReadWholeFile(files, saved);
        const auto attributes = files.GetAttributes(target);
        if (attributes && (*attributes & platform::faReadOnly) != 0) {
            files.SetAttributes(target, *attributes & ~platform::faReadOnly);
        }
        restored =
            install::ReplaceWholeFile(files, target, ParentOf(target) + "\\~kavback.tmp", bytes);
    } catch (const kav::Exception&) {
    }
    if (!restored) {
        Left(target, "in use or not writable; the original stays in " + saved);
        return;
    }
    files.RemoveFile(saved);
    files.RemoveEmptyDirectory(ParentOf(saved));
    result_.restored.push_back(target);
}

void Removal::RemoveListedFiles() {
    for (const std::string& entry : record_.files) {
        Step(entry);
        const std::string full = guard_.Full(entry);
        const std::size_t cut = full.find_last_of('\\');
        if (full.empty() || cut == std::string::npos) {
            Left(entry, "not a full path");
        } else if (HasWildcards(full.substr(0, cut))) {
            Left(entry, "a pattern reaches into folders only through its last part");
        } else if (HasWildcards(full.substr(cut + 1))) {
            RemoveMatches(entry, full);
        } else {
            RemoveOne(full);
        }
    }
}

void Removal::RemoveMatches(const std::string& entry, const std::string& pattern) {
    const std::string folder = ParentOf(pattern);
    const bool inInstall = PathGuard::IsAtOrBelow(folder, guard_.InstallDirectory());
    const bool inLinks = guard_.InLinkPlace(folder + "\\x") && !guard_.PassesThroughLink(folder);
    if (!inInstall && !inLinks) {
        Left(entry, "a pattern outside the install directory and the link folders");
        return;
    }
    if (guard_.PassesThroughLink(folder)) {
        Left(entry, "its folder is a link to another place");
        return;
    }
    // In a link folder a pattern names one link, as "name.*": a wider one
    // would take other programs' links along.
    const std::string mask = pattern.substr(folder.size() + 1);
    const std::string linkName = mask.size() > 2 ? mask.substr(0, mask.size() - 2) : std::string();
    if (!inInstall && (linkName.empty() || mask.compare(mask.size() - 2, 2, ".*") != 0 ||
                       HasWildcards(linkName))) {
        Left(entry, "names more than one link");
        return;
    }
    const auto found = machine_.Files().FindFiles(
        pattern, platform::faHidden | platform::faSysFile | platform::faReadOnly);
    for (const platform::FoundFile& file : found) {
        if ((file.attributes & platform::faDirectory) != 0) continue;
        const bool ownLink =
            IsLinkFile(file.name) && base::AsciiUpper(file.name.substr(0, file.name.size() - 4)) ==
                                         base::AsciiUpper(linkName);
        if (!inInstall && !ownLink) continue;
        RemoveOne(folder + "\\" + file.name);
    }
}

void Removal::RemoveOne(const std::string& full) {
    const std::string upper = base::AsciiUpper(full);
    if (upper == base::AsciiUpper(guard_.Full(record_.scriptFile))) return;  // goes last
    if (!handled_.insert(upper).second) return;
    const std::string state = StateOf(full);
    if (state == install::kFileKept) {
        Left(full, "was there before the install and was not replaced");
        return;
    }
    // Only what this install wrote goes: a file it noted as new, or one of
    // its links in a link folder. Whatever else lies in its folders (a
    // user's own documents, a file that was there before) stays.
    const bool mine = state == install::kFileNew || (guard_.InLinkPlace(full) && IsLinkFile(full));
    if (!mine) {
        if (machine_.Files().FileExists(full)) {
            Left(full, "not written by the install");
        }
        return;
    }
    const std::string refusal = guard_.RefusalForFile(full);
    if (!refusal.empty()) {
        Left(full, refusal);
        return;
    }
    DeleteFile(full);
}

bool Removal::DeleteFile(const std::string& full) {
    platform::FileSystem& files = machine_.Files();
    const auto attributes = files.GetAttributes(full);
    if (!attributes) return true;
    if ((*attributes & platform::faDirectory) != 0 &&
        (*attributes & platform::faReparsePoint) == 0) {
        Left(full, "a folder, not a file");
        return false;
    }
    if (!IsRunningProgram(full)) {
        if ((*attributes & platform::faReadOnly) != 0) {
            files.SetAttributes(full, *attributes & ~platform::faReadOnly);
        }
        if (files.RemoveFile(full)) {
            result_.removed.push_back(full);
            return true;
        }
    }
    if (machine_.Restarter().RemoveAtRestart(full)) {
        result_.atRestart.push_back(full);
        return true;
    }
    Left(full, "in use, and its removal at the next restart could not be arranged");
    return false;
}

void Removal::RemoveLinkFolders() {
    platform::FileSystem& files = machine_.Files();
    for (const std::string& entry : record_.folders) {
        Step(entry);
        const std::string full = guard_.Full(entry);
        if (!guard_.InLinkPlace(full) || guard_.IsProtectedDirectory(full) ||
            guard_.PassesThroughLink(full)) {
            Left(entry, "not a program folder of the Desktop or the Start menu");
        } else if (files.RemoveEmptyDirectory(full)) {
            result_.removed.push_back(full);
        } else if (files.DirectoryExists(full)) {
            Left(full, "not empty");
        }
    }
}

bool Removal::HoldsOnlyWhatGoesAtRestart(const std::string& folder) {
    const auto found = machine_.Files().FindFiles(
        folder + "\\*.*", platform::faHidden | platform::faSysFile | platform::faDirectory);
    bool holdsSomething = false;
    for (const platform::FoundFile& file : found) {
        if (file.name == "." || file.name == "..") continue;
        const std::string upper = base::AsciiUpper(folder + "\\" + file.name);
        const bool scheduled =
            std::any_of(result_.atRestart.begin(), result_.atRestart.end(),
                        [&](const std::string& item) { return base::AsciiUpper(item) == upper; });
        if (!scheduled) return false;
        holdsSomething = true;
    }
    return holdsSomething;
}

void Removal::RemoveDirectories() {
    std::vector<std::string> folders;
    for (const std::string& entry : record_.directories) {
        Step(entry);
        const std::string full = guard_.Full(entry);
        if (guard_.IsProtectedDirectory(full) || guard_.PassesThroughLink(full)) {
            Left(entry, "a folder of the system's own");
        } else {
            folders.push_back(full);
        }
    }
    // Deepest first, so that a folder is empty when its turn comes.
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    platform::FileSystem& files = machine_.Files();
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        if (!seen.insert(base::AsciiUpper(folder)).second || !files.DirectoryExists(folder))
            continue;
        if (files.RemoveEmptyDirectory(folder)) {
            result_.removed.push_back(folder);
            continue;
        }
        // Still holding the running uninstaller: it goes at the restart, and
        // its folders after it.
        if (HoldsOnlyWhatGoesAtRestart(folder) && machine_.Restarter().RemoveAtRestart(folder)) {
            result_.atRestart.push_back(folder);
        } else {
            Left(folder, "not empty");
        }
    }
}

}  // namespace kav::uninstall
