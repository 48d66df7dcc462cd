#pragma once
// One run of RemoveProduct: the machine, the script's records, the guard
// and the result being built. Its steps live in files of their own.
#include <map>
#include <set>
#include <string>

#include "uninstall/path_guard.h"
#include "uninstall/product_remover.h"

namespace kav::uninstall {

class Removal {
public:
    Removal(platform::Machine& machine, const UninstallRecord& record,
            const UninstallOptions& options);

    UninstallResult Run();

private:
    // remove_files.cc
    void RestoreReplacedFiles();
    void RestoreReplacedFile(const std::string& path, const std::string& state);
    // An "autoexec.kav" that was there before the install, once the
    // install's own copy has served to put AUTOEXEC.BAT back.
    void RestoreEarlierAutoexecBackups();
    void RemoveListedFiles();
    void RemoveMatches(const std::string& entry, const std::string& pattern);
    void RemoveOne(const std::string& full);
    // Deletes a file, or schedules it for the next restart when it is in
    // use. Returns whether it is gone or scheduled.
    bool DeleteFile(const std::string& full);
    void RemoveLinkFolders();
    void RemoveDirectories();
    // True when everything left in `folder` is to be removed at the restart.
    bool HoldsOnlyWhatGoesAtRestart(const std::string& folder);
    // remove_registry.cc
    void UndoRegistryValues();
    void RemoveRegistryKeys();
    void UndoIniEntries();
    // remove_autoexec.cc
    void RestoreAutoexec();
    void RestoreAutoexecFile(const std::string& file);

    void Step(const std::string& item);
    void Left(const std::string& item, const std::string& reason);
    std::string StateOf(const std::string& full) const;
    bool IsRunningProgram(const std::string& full) const;

    platform::Machine& machine_;
    const UninstallRecord& record_;
    const UninstallOptions& options_;
    PathGuard guard_;
    UninstallResult result_;
    // The recorded state of each file, by upper-case full path, looked up
    // once per file removed (the first record of a path counts).
    std::map<std::string, std::string> states_;
    // Upper-case full paths already dealt with, and those to keep.
    std::set<std::string> handled_;
    int done_ = 0;
    int total_ = 0;
};

}  // namespace kav::uninstall
