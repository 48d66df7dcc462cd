#include "install/install_engine.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/autoexec_step.h"
#include "install/destination_policy.h"
#include "install/registry_ini_step.h"
#include "install/script_entries.h"
#include "platform/errors.h"
#include "setup/file_operations.h"
#include "setup/system_paths.h"

namespace kav::install {

namespace {

constexpr int kShowCommandShow = 5;

std::string WithoutTrailingBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

InstallEngine::InstallEngine(platform::Machine& machine, setup::RunState& run, InstallView& view)
    : machine_(machine),
      run_(run),
      config_(*run.configuration),
      view_(view),
      script_(machine.Files()) {}

void InstallEngine::Status(const std::string& text) {
    view_.ShowSource(text);
    view_.Flush();
    machine_.Ui().ProcessMessages();
}

void InstallEngine::Run(const InstallChoices& choices) {
    choices_ = choices;
    bases_.windowsDirectory = setup::WindowsDirectory(machine_.SystemDirs());
    bases_.systemDriveRoot = run_.systemDriveRoot;
    bases_.programFilesDirectory = setup::ProgramFilesDirectory(machine_.SystemDirs());
    // The full form, so that the uninstall script names the same folder
    // wherever the uninstaller is started from.
    bases_.destination = CheckDestination(choices.destination);
    machine_.Log().Note("install into " + bases_.destination +
                        (choices.workStation ? ", work station" : ", full"));

    view_.SetProgressMax(static_cast<int>(config_.Files.size() + config_.Desktop.size() +
                                          config_.IniSetup.size() + config_.WorkStation.size()));
    Status("Preparing Directory Structure");
    try {
        Step("directories", [&] { BuildDirectoryTable(); });
        if (choices.workStation) config_.Files = config_.WorkStation;
        Step("installer files", [&] { CopyInstallerFiles(); });
        Step("files", [&] { InstallFiles(); });
        Step("shortcuts", [&] { CreateShortcuts(); });
        if (!config_.IniSetup.empty()) Step("registry and INI", [&] { WriteRegistryAndIni(); });
        if (!config_.AutoexecBat.empty()) Step("AUTOEXEC.BAT", [&] { UpdateAutoexecBat(); });
    } catch (const std::exception&) {
        // What was done before the failure stays on the machine: it is
        // registered all the same, so that the uninstaller can take it away.
        // The failure that stopped the run is the one reported.
        if (script_.IsOpen()) {
            try {
                FinishUninstallInformation();
                machine_.Log().Note("registered what was installed before the failure");
            } catch (const std::exception& error) {
                machine_.Log().Note(std::string("not registered: ") + platform::FailureText(error));
            }
        }
        throw;
    }
    Step("uninstall information", [&] { FinishUninstallInformation(); });
    Step("launch", [&] { LaunchProgram(); });
}

// A step that throws stops the run; the log says which. Each step ends
// with the uninstall script saved, so that it covers the step even when a
// later one fails or the run is cut off.
void InstallEngine::Step(const char* name, const std::function<void()>& step) {
    platform::EventLog& log = machine_.Log();
    log.Note(std::string("step ") + name);
    try {
        step();
        view_.Flush();
        script_.Save();
    } catch (const std::exception& error) {
        view_.Flush();
        log.Note(std::string("step ") + name + " failed: " + platform::FailureText(error));
        try {
            script_.Save();
        } catch (const kav::Exception&) {
            // The step's own failure is the one to report.
        }
        throw;
    }
    log.Note(std::string("step ") + name + ": done");
}

// Refused before anything is changed: without an install directory there
// is no place for the uninstall script, and a directory the uninstaller
// would not touch could never be cleared again. The wizard and the command
// line refuse such a destination earlier; this is the last word.
std::string InstallEngine::CheckDestination(const std::string& destination) {
    if (!NamesInstallDirectory(config_.Directories)) {
        throw EInstallStop(
            "The installation script names no install directory: its Directories list has no "
            "<INSTALLDIR> entry. Nothing has been installed.");
    }
    const DestinationPolicy policy(machine_.Files(), machine_.SystemDirs());
    const std::string refusal = policy.RefusalFor(destination);
    if (!refusal.empty()) throw EInstallStop(refusal + " Nothing has been installed.");
    return policy.Full(destination);
}

void InstallEngine::BuildDirectoryTable() {
    for (const std::string& entry : config_.Directories) {
        if (DirectoryEntry::Parse(entry).tag == kInstallDirTag) {
            bases_.installDirectory = bases_.destination;
        }
    }
    for (const std::string& text : config_.Directories) {
        const DirectoryEntry entry = DirectoryEntry::Parse(text);
        const DirectoryRow row{entry.tag, ResolveDirectory(entry, bases_)};
        if (entry.tag == kInstallDirTag) {
            MakeDirectories(bases_.installDirectory);
            script_.Open(bases_.installDirectory, choices_.title, config_.ProductId);
            for (const std::string& made : unrecordedDirectories_) RecordDirectory(made);
            unrecordedDirectories_.clear();
        }
        table_.push_back(row);
        MakeDirectories(row.path);
        RewriteLaunch(config_.Launch, row);
    }
}

// Failures are not reported: a directory that cannot be made makes the
// copies into it fail, and those are skipped.
void InstallEngine::MakeDirectories(const std::string& path) {
    const std::string directory = WithoutTrailingBackslashes(path);
    if (directory.size() <= 2) return;
    std::vector<std::string> missing;
    for (std::string at = directory; at.size() > 2 && !machine_.Files().DirectoryExists(at);) {
        missing.push_back(at);
        const std::size_t cut = at.find_last_of('\\');
        if (cut == std::string::npos) break;
        at = at.substr(0, cut);
    }
    setup::ForceDirectories(machine_.Files(), directory);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (machine_.Files().DirectoryExists(*it)) RecordDirectory(*it);
    }
}

void InstallEngine::RecordDirectory(const std::string& path) {
    if (script_.IsOpen()) {
        script_.Record(kUninstallDirectories, path);
    } else {
        unrecordedDirectories_.push_back(path);
    }
}

void InstallEngine::WriteRegistryAndIni() {
    install::WriteRegistryAndIniEntries(machine_, view_, script_, table_, bases_.windowsDirectory,
                                        bases_.installDirectory, config_.IniSetup);
}

void InstallEngine::UpdateAutoexecBat() {
    install::UpdateAutoexecBat(machine_, view_, script_, table_, run_.systemDriveRoot,
                               bases_.installDirectory, config_.AutoexecBat);
}

void InstallEngine::FinishUninstallInformation() {
    script_.Close();
    Status("Creating Uninstall Information");
    UninstallEntry entry;
    entry.title = choices_.title;
    entry.productId = config_.ProductId;
    entry.installDirectory = bases_.installDirectory;
    entry.publisher = config_.Publisher;
    entry.version = config_.Version;
    entry.displayIcon = FirstDesktopIcon();
    entry.installedBytes = InstalledBytes();
    // An empty title is no argument the uninstaller can check; an empty key
    // name or one with a "\" would name the list's own key or a key below
    // another product's.
    const std::string& keyName = entry.KeyName();
    if (entry.title.empty() || keyName.empty() || keyName.find('\\') != std::string::npos) return;
    // The product this one took over leaves Windows' list, unless it is
    // listed under the same name and so replaced.
    const std::string& previous = script_.TakenOverKeyName();
    if (!previous.empty() && base::AsciiUpper(previous) != base::AsciiUpper(keyName) &&
        !RemoveTakenOverRegistration(machine_.RegistryKeys(), previous, entry.installDirectory)) {
        machine_.Log().Note("the Uninstall entry of " + previous + " could not be removed");
    }
    if (machine_.Files().FileExists(entry.installDirectory + "\\uninstaller.exe")) {
        RegisterUninstaller(machine_.RegistryKeys(), entry);
    }
}

std::string InstallEngine::FirstDesktopIcon() const {
    if (config_.Desktop.empty()) return "";
    const DesktopEntry entry = DesktopEntry::Parse(config_.Desktop.front());
    const std::string icon = AfterFirstTag(entry.icon);
    const std::size_t tagEnd = entry.program.find('>');
    const std::string tag = base::AsciiUpper(
        tagEnd == std::string::npos ? entry.program : entry.program.substr(0, tagEnd + 1));
    if (icon.empty()) return "";
    for (const DirectoryRow& row : table_) {
        if (row.tag == tag) return row.path + "\\" + icon;
    }
    return "";
}

void InstallEngine::CountInstalled(const std::string& path) {
    placedFiles_[base::AsciiUpper(base::DirectoryPart(path))].push_back(
        base::HashIgnoringAsciiCase(base::FileNamePart(path)));
}

std::uint64_t InstallEngine::InstalledBytes() {
    // Each folder is listed once: a look for each file, by name, costs as
    // much as a listing of its folder where the system matches names
    // without regard to case.
    std::uint64_t bytes = 0;
    for (auto& [folder, names] : placedFiles_) {
        std::sort(names.begin(), names.end());
        for (const platform::FoundFile& found : machine_.Files().FindFiles(folder + "*.*", 0)) {
            if (found.size > 0 && std::binary_search(names.begin(), names.end(),
                                                     base::HashIgnoringAsciiCase(found.name))) {
                bytes += static_cast<std::uint64_t>(found.size);
            }
        }
    }
    return bytes;
}

void InstallEngine::LaunchProgram() {
    const std::string& launch = config_.Launch;
    const std::string upper = base::AsciiUpper(launch);
    const bool setupProgram =
        upper.find("SETUP.") != std::string::npos || upper.find("INSTALL.") != std::string::npos;
    // A setting still starting with a tag named no directory of the table:
    // it is no path to start.
    if (launch.empty() || launch.front() == '<') return;
    if (choices_.launchChosen || setupProgram) {
        const std::size_t cut = launch.find_last_of("\\:");
        const std::string directory = cut == std::string::npos ? "" : launch.substr(0, cut + 1);
        setup::ExecuteFile(machine_.ShellOps(), base::FileNamePart(launch), "", directory,
                           kShowCommandShow);
    }
}

}  // namespace kav::install
