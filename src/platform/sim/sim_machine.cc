#include "platform/sim/sim_machine.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/errors.h"

namespace kav::platform {

std::unique_ptr<Machine> MakeSimMachine(const std::string& root, Gui& gui) {
    return std::make_unique<sim::SimMachine>(root, gui);
}

}  // namespace kav::platform

namespace kav::platform::sim {

namespace {

// Creates `folder` and its missing parents; returns the folder unchanged so
// it can run before the members that need it are built.
const std::string& EnsureFolder(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            throw EInOutError("Cannot create the machine folder " + prefix + ": " +
                              std::strerror(errno));
        }
        if (slash == std::string::npos) break;
    }
    return folder;
}

}  // namespace

void SimProcessor::YieldTimeSlice() { std::this_thread::yield(); }

SimMachine::SimMachine(const std::string& root, Gui& gui)
    : drives_(EnsureFolder(root)),
      journal_(drives_.Root() + "/journal.txt"),
      files_(drives_),
      systemDirs_(drives_, files_),
      profiles_(files_, SimSystemDirectories::kWindowsDirectory),
      registry_(drives_.Root() + "/registry.reg"),
      shell_(files_, journal_),
      restart_(journal_),
      gui_(gui) {
    const std::string windows = SimSystemDirectories::kWindowsDirectory;
    for (const std::string& directory : {windows, windows + "\\System", windows + "\\Temp"}) {
        MakeFolder(directory);
    }
    UseProfile(ShellProfile::CurrentWindows());
}

void SimMachine::UseProfile(ShellProfile profile) {
    // Every Windows has its shell's folders before anything is installed.
    for (const auto& [folder, path] : profile.folders) MakeSystemFolder(path);
    systemDirs_.SetProfile(std::move(profile));
}

void SimMachine::MakeFolder(const std::string& directory) {
    if (!files_.DirectoryExists(directory) && !files_.MakeDirectory(directory)) {
        throw EInOutError("Cannot create " + directory + " in " + drives_.Root());
    }
}

void SimMachine::MakeSystemFolder(const std::string& hostFormPath) {
    // "C:\a\b" by its names in the host's form, which need not have a code
    // page 1252 form, so not through the file system's calls.
    auto host = drives_.DriveFolder(hostFormPath.empty() ? 'C' : hostFormPath[0]);
    if (!host || hostFormPath.size() < 3) return;
    for (std::size_t start = 3; start < hostFormPath.size();) {
        std::size_t end = hostFormPath.find('\\', start);
        if (end == std::string::npos) end = hostFormPath.size();
        const std::string name = hostFormPath.substr(start, end - start);
        const auto stored = drives_.FindEntry(*host, name);
        *host += (host->back() == '/' ? "" : "/") + (stored ? *stored : name);
        if (!stored) {
            if (::mkdir(host->c_str(), 0755) != 0 && errno != EEXIST) {
                throw EInOutError("Cannot create " + *host + ": " + std::strerror(errno));
            }
            drives_.NoteAdded(*host);
        }
        start = end + 1;
    }
}

}  // namespace kav::platform::sim
