#pragma once
// The install engine: the destination tree from the Directories list, the
// installer's own files and the product's files, the uninstall script and
// the uninstaller's registration, and the launch at the end.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "install/directory_table.h"
#include "install/shared_names.h"
#include "install/shell_links.h"
#include "install/uninstall_script.h"
#include "platform/machine.h"
#include "setup/run_state.h"

namespace kav::install {

// Where the engine shows how far it is: the wizard's install page.
class InstallView {
public:
    virtual ~InstallView() = default;
    virtual void ShowSource(const std::string& text) = 0;
    virtual void ShowDest(const std::string& text) = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual void StepProgress() = 0;
    // Shows at once what the view may have held back: a view that updates
    // its windows at most every few milliseconds shows the last state when
    // a step ends and before a question.
    virtual void Flush() {}
};

// What the wizard hands on.
struct InstallChoices {
    std::string destination;    // Label1
    bool workStation = false;   // min: the WorkStation list replaces Files
    bool launchChosen = false;  // RadioButton1
    std::string title;          // the main screen's header
    // Shortcuts1 as Install leaves it (the folder check boxes), and the
    // names of the checked items of DK and SM.
    TShortcuts shortcuts{};
    std::vector<std::string> desktopTicked{};
    std::vector<std::string> startMenuTicked{};
};

class InstallEngine {
public:
    InstallEngine(platform::Machine& machine, setup::RunState& run, InstallView& view);

    // Runs every step in order. Throws EInstallStop, or the copy error of
    // the installer's own files; the steps after the failing one do not
    // happen, and the uninstall script covers what was done until then.
    void Run(const InstallChoices& choices);

    const DirectoryTable& Table() const { return table_; }

    // True when an entry of the active Files list other than the one at
    // `index` mentions that entry's file name anywhere (in upper case).
    bool IsFileShared(std::size_t index);

private:
    // The destination's full form; throws EInstallStop when it is refused.
    std::string CheckDestination(const std::string& destination);
    void BuildDirectoryTable();
    void MakeDirectories(const std::string& path);
    void RecordDirectory(const std::string& path);
    void CopyInstallerFiles();
    void InstallFiles();
    // A Files entry taken apart once, for every directory row.
    // Kept for every entry through the step, so kept small: the tag as a
    // number among the list's distinct tags, the flag as what it asks for.
    struct FileEntry {
        std::string name;   // the source's file-name part
        std::uint32_t tag;  // the directory tag, upper case, as its number
        bool askFirst;      // flag "X": ask before replacing an existing file
    };
    void InstallEntry(const DirectoryRow& row, std::uint32_t rowTag, const FileEntry& entry,
                      std::size_t index);
    // The entry's file put at `target` when it was not simply moved there:
    // asked about, the file it replaces saved, then moved or copied.
    void PlaceEntry(const DirectoryRow& row, const FileEntry& entry, std::size_t index,
                    const std::string& target);
    // Counts and logs a file just installed at `target`.
    void NoteInstalled(const std::string& target);
    void CreateShortcuts();
    void CreateEntryShortcuts(const DirectoryRow& row, const std::string& entry);
    // The registry, INI and AUTOEXEC.BAT steps, each in its own file.
    void WriteRegistryAndIni();  // registry_ini_step.h
    void UpdateAutoexecBat();    // autoexec_step.h
    void FinishUninstallInformation();
    // The icon of the first Desktop entry as its links get it; empty when
    // that entry names no icon or no directory of the table.
    std::string FirstDesktopIcon() const;
    // Notes a file the engine has just put at `path`, for the size of what
    // was installed.
    void CountInstalled(const std::string& path);
    // The bytes of the files noted, as they are now.
    std::uint64_t InstalledBytes();
    void LaunchProgram();
    void Status(const std::string& text);
    void Step(const char* name, const std::function<void()>& step);

    platform::Machine& machine_;
    setup::RunState& run_;
    setup::InstallConfiguration& config_;
    InstallView& view_;
    InstallChoices choices_;
    DirectoryBases bases_;
    DirectoryTable table_;
    UninstallScript script_;
    // The active Files list's shared names, made when first asked.
    std::unique_ptr<SharedNames> sharedNames_;
    // The files this run put on the machine: by folder in upper case, a
    // hash of each name in upper case (NameHash), sorted when summed. A
    // name's hash is an eighth of what the name took, and the size it
    // serves is an estimate.
    std::map<std::string, std::vector<std::uint64_t>> placedFiles_;
    // Directories made before the script was open, recorded when it opens.
    std::vector<std::string> unrecordedDirectories_;
};

}  // namespace kav::install
