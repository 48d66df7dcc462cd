// The engine's file step: the installer's own two files, then every entry
// of the active Files list, directory row by directory row.
#include <optional>
#include <unordered_map>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "base/take_field.h"
#include "install/install_engine.h"
#include "install/install_undo.h"
#include "platform/errors.h"
#include "setup/file_operations.h"

namespace kav::install {

namespace {

// No tag of the Files list: a directory row that installs none of it.
constexpr std::uint32_t kNoTag = static_cast<std::uint32_t>(-1);

bool OnOneDrive(const std::string& a, const std::string& b) {
    return a.size() > 2 && b.size() > 2 && a[1] == ':' && b[1] == ':' &&
           base::AsciiUpper(a.substr(0, 1)) == base::AsciiUpper(b.substr(0, 1));
}

// Puts the expanded file `temporary` in place as `target` in `directory`.
// Its last line moves it there when it stays on its drive, rather than
// writing its bytes a second time; what is left is what a copy leaves: the
// target with the archive bit (hidden and system kept from a file it
// replaces) and no temporary file. Otherwise, or when the move is refused,
// it is copied, and the last line removes the temporary file. `absent`
// says the target was just found missing, so it is not looked for again.
void PlaceExpandedFile(platform::FileSystem& files, const std::string& temporary,
                       const std::string& directory, const std::string& target, bool last,
                       bool absent) {
    if (last && OnOneDrive(files.FullPathName(temporary), files.FullPathName(target))) {
        const auto replaced = absent ? std::optional<std::uint32_t>() : files.GetAttributes(target);
        const std::uint32_t kept =
            replaced ? *replaced & (platform::faHidden | platform::faSysFile) : 0u;
        // A read-only target is refused below, by the copy, with its reason.
        const bool movable =
            !replaced || (*replaced & (platform::faReadOnly | platform::faDirectory |
                                       platform::faReparsePoint)) == 0;
        if (movable && files.MoveOnto(temporary, target)) {
            // Most files were expanded with the archive bit alone, as a copy
            // leaves them: a look costs less than a change.
            const std::uint32_t wanted = kept | platform::faArchive;
            if (files.GetAttributes(target) != wanted) files.SetAttributes(target, wanted);
            return;
        }
    }
    setup::CopyFile(files, temporary, directory);
    if (last) files.RemoveFile(temporary);
}

// Moves the expanded file `temporary` to `target` when it stays on its
// drive and nothing of the target's name is there: a new file, which a
// copy would leave with the archive bit alone. One step, where a look for
// the target and then the move would each search the target's folder.
// False when the target exists or the move is refused: nothing has changed.
bool MoveToMissingTarget(platform::FileSystem& files, const std::string& temporary,
                         const std::string& target) {
    if (!OnOneDrive(files.FullPathName(temporary), files.FullPathName(target)) ||
        !files.MoveToNew(temporary, target)) {
        return false;
    }
    if (files.GetAttributes(target) != platform::faArchive) {
        files.SetAttributes(target, platform::faArchive);
    }
    return true;
}

}  // namespace

void InstallEngine::CopyInstallerFiles() {
    platform::FileSystem& files = machine_.Files();
    for (const char* name : {"install.exe", "install.cfg"}) {
        // Noted like the product's files, so that the uninstaller takes them
        // and puts back a file of the name that was there before.
        const std::string target = bases_.installDirectory + "\\" + name;
        const auto state = SaveBeforeReplacing(files, script_, bases_.installDirectory, target);
        if (!state) throw platform::EFCreateError(target);
        try {
            setup::CopyFile(files, run_.TemporaryFile(name), bases_.installDirectory);
        } catch (const kav::Exception&) {
            NoteFailedCopy(script_, target, *state);
            throw;
        }
        NotePlacedFile(script_, target, *state);
        CountInstalled(target);
        machine_.Log().Note(std::string("copied ") + name + " to " + bases_.installDirectory);
    }
}

void InstallEngine::InstallFiles() {
    sharedNames_.reset();
    std::vector<FileEntry> entries;
    entries.reserve(config_.Files.size());
    std::unordered_map<std::string, std::uint32_t> tags;
    for (const std::string& text : config_.Files) {
        std::string rest = text;
        std::string source, tag, flag;
        base::TakeField(rest, "~", source);
        base::TakeField(rest, "~", tag);
        base::TakeField(rest, "~", flag);
        const auto number = static_cast<std::uint32_t>(tags.size());
        entries.push_back({base::FileNamePart(source),
                           tags.try_emplace(base::AsciiUpper(tag), number).first->second,
                           flag == "X"});
    }
    for (const DirectoryRow& row : table_) {
        Status("Ready to Install");
        const auto found = tags.find(row.tag);
        const std::uint32_t rowTag = found != tags.end() ? found->second : kNoTag;
        for (std::size_t index = 0; index < entries.size(); ++index) {
            InstallEntry(row, rowTag, entries[index], index);
        }
    }
}

bool InstallEngine::IsFileShared(std::size_t index) {
    if (!sharedNames_) {
        std::vector<std::string> names;
        names.reserve(config_.Files.size());
        for (const std::string& text : config_.Files) {
            std::string rest = text;
            std::string source;
            base::TakeField(rest, "~", source);
            names.push_back(base::FileNamePart(source));
        }
        sharedNames_ = std::make_unique<SharedNames>(names, config_.Files);
    }
    return sharedNames_->IsShared(index);
}

void InstallEngine::InstallEntry(const DirectoryRow& row, std::uint32_t rowTag,
                                 const FileEntry& entry, std::size_t index) {
    const std::string& name = entry.name;
    platform::FileSystem& files = machine_.Files();
    machine_.Ui().ProcessMessages();
    // Any name but one file inside the row's directory would be copied or
    // recorded for removal outside it, or stand for many files at once.
    if (entry.tag != rowTag || !base::IsOneEntryName(name)) return;

    view_.StepProgress();
    machine_.Ui().ProcessMessages();
    view_.ShowSource(name);
    view_.ShowDest(row.path);
    machine_.Ui().ProcessMessages();

    const std::string target = row.path + "\\" + name;
    // The file of its last Files line, with no file of its name to replace
    // or ask about, is moved there before anything looks for the target.
    if (!entry.askFirst && !IsFileShared(index) &&
        MoveToMissingTarget(files, run_.TemporaryFile(name), target)) {
        NotePlacedFile(script_, target, kFileNew);
        NoteInstalled(target);
    } else {
        PlaceEntry(row, entry, index, target);
    }
    machine_.Ui().ProcessMessages();
    script_.Record(kUninstallFiles, target);
}

void InstallEngine::PlaceEntry(const DirectoryRow& row, const FileEntry& entry, std::size_t index,
                               const std::string& target) {
    const std::string& name = entry.name;
    platform::FileSystem& files = machine_.Files();
    bool copy = true;
    if (entry.askFirst && files.FileExists(target)) {
        view_.Flush();
        copy = machine_.Ui().AskYesNo("File Already Exists (" + name + "). Overwrite?");
        if (!copy) RecordKeptFile(script_, target);
        if (!copy) machine_.Log().Note("kept " + target);
    }
    // A file that cannot be saved first is not replaced: nothing is lost.
    std::optional<std::string> state;
    if (copy) state = SaveBeforeReplacing(files, script_, bases_.installDirectory, target);
    if (state) {
        const std::string temporary = run_.TemporaryFile(name);
        try {
            // A row naming an existing file rather than a directory would
            // have the copy replace that file itself.
            if (!files.DirectoryExists(row.path)) throw platform::EFCreateError(target);
            PlaceExpandedFile(files, temporary, row.path, target, !IsFileShared(index),
                              *state == kFileNew);
            // Only a file that is there now is the install's to take away.
            NotePlacedFile(script_, target, *state);
            NoteInstalled(target);
        } catch (const EInstallStop&) {
            throw;
        } catch (const kav::Exception& error) {
            // A file that cannot be read or written is skipped; it is still
            // listed below, but without a state the uninstaller leaves it.
            NoteFailedCopy(script_, target, *state);
            machine_.Log().Note("not installed " + target + ": " + platform::FailureText(error));
        }
    }
}

void InstallEngine::NoteInstalled(const std::string& target) {
    CountInstalled(target);
    machine_.Log().Note("installed " + target);
}

}  // namespace kav::install
