// kavset: inspects and unpacks installation sets (segment sets and single
// compressed archives) with the installer's own readers.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/kavset/set_tool.h"
#include "app/kavset/terminal_gui.h"
#include "archive/compress.h"
#include "platform/machine.h"
#include "platform/throttled_processor.h"

#if !defined(_WIN32)
#include "app/kavsetup/host_paths.h"
#include "platform/sim/host_drives.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_system_dirs.h"
#endif

namespace {

using kav::app::SetCommand;
using kav::app::SetOptions;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "kavset: " << problem << "\n";
    std::cerr << "usage: kavset list SET [--key N] [--media DIR]...\n"
                 "       kavset test SET [--key N] [--media DIR]...\n"
                 "       kavset extract SET [-d DIR] [--flat] [--overwrite] [--key N] "
                 "[--media DIR]...\n"
                 "SET is a directory holding disk.001, a segment file, or a compressed archive.\n"
                 "Exit status: 0 done, 1 bad command line, 2 damaged set, 3 entries skipped.\n";
    return kav::app::kExitUsage;
}

bool ParseKey(const std::string& text, std::int32_t& key) {
    try {
        std::size_t used = 0;
        const long long value = std::stoll(text, &used, 0);
        if (used != text.size() || value < INT32_MIN || value > UINT32_MAX) return false;
        key = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A host path as the machine's file system names it.
class PathMapper {
public:
    explicit PathMapper(kav::platform::FileSystem& files) : files_(files) {
#if !defined(_WIN32)
        hostCwd_ = std::filesystem::current_path().string();
        files_.ChangeDirectory(kav::app::HostToWindowsPath(hostCwd_, hostCwd_));
#endif
    }
    std::string operator()(const std::string& path) const {
#if defined(_WIN32)
        return files_.FullPathName(path);
#else
        return files_.FullPathName(kav::app::HostToWindowsPath(path, hostCwd_));
#endif
    }

private:
    kav::platform::FileSystem& files_;
    std::string hostCwd_;
};

#if !defined(_WIN32)
// What kavset needs of the simulated machine: its file system (the host's
// files through drive Z:, a drive C: for the segment reader's work files)
// and its processor. The machine's folder is made only when something goes
// there (extracted files' attributes, a segment set's work files): making
// and removing folders costs more than testing a small archive.
class HostFilesMachine {
public:
    explicit HostFilesMachine(std::string root)
        : root_(std::move(root)), drives_(root_), files_(drives_) {}

    kav::platform::FileSystem& Files() { return files_; }
    kav::platform::Processor& Cpu() { return processor_; }
    std::string WindowsDirectory() const {
        return kav::platform::sim::SimSystemDirectories::kWindowsDirectory;
    }
    void MakeFolder() { std::filesystem::create_directories(root_); }

private:
    std::string root_;
    kav::platform::sim::HostDrives drives_;
    kav::platform::sim::SimFileSystem files_;
    kav::platform::sim::SimProcessor processor_;
};
#endif

std::string UniqueSuffix() {
    return std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 100000000);
}

// Removes the reader's work directory with whatever it left in it.
void RemoveWorkDirectory(kav::platform::FileSystem& files, const std::string& dir) {
    for (const auto& found : files.FindFiles(dir + "\\*.*", kav::platform::faAnyFile)) {
        if (!(found.attributes & kav::platform::faDirectory))
            files.RemoveFile(dir + "\\" + found.name);
    }
    files.RemoveEmptyDirectory(dir);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("");
    SetOptions options;
    std::string command = args[0], set, target = ".";
    std::vector<std::string> media;
    if (command == "list") {
        options.command = SetCommand::List;
    } else if (command == "test") {
        options.command = SetCommand::Test;
    } else if (command == "extract") {
        options.command = SetCommand::Extract;
    } else {
        return Usage("unknown command \"" + command + "\"");
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--key") {
            if (!hasValue || !ParseKey(args[++i], options.key))
                return Usage("--key needs a number");
        } else if (arg == "--media") {
            if (!hasValue) return Usage("--media needs a directory");
            media.push_back(args[++i]);
        } else if (arg == "-d" && options.command == SetCommand::Extract) {
            if (!hasValue) return Usage("-d needs a directory");
            target = args[++i];
        } else if (arg == "--flat" && options.command == SetCommand::Extract) {
            options.flat = true;
        } else if (arg == "--overwrite" && options.command == SetCommand::Extract) {
            options.overwrite = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option \"" + arg + "\"");
        } else if (set.empty()) {
            set = arg;
        } else {
            return Usage("more than one SET given");
        }
    }
    if (set.empty()) return Usage("no SET given");

    try {
        kav::app::TerminalGui gui;
#if defined(_WIN32)
        auto machine = kav::platform::MakeWin32Machine();
        const char* temp = std::getenv("TEMP");
        const std::string workParent = temp ? temp : ".";
        std::filesystem::path simRoot;
#else
        const std::filesystem::path simRoot =
            std::filesystem::temp_directory_path() / ("kavset-" + UniqueSuffix());
        auto machine = std::make_unique<HostFilesMachine>(simRoot.string());
        const std::string workParent = machine->WindowsDirectory() + "\\Temp";
        options.prepareWorkDirectory = [&machine] { machine->MakeFolder(); };
        if (options.command == SetCommand::Extract) machine->MakeFolder();
#endif
        auto& files = machine->Files();
        PathMapper toMachine(files);
        options.set = toMachine(set);
        options.targetDirectory = toMachine(target);
        for (const auto& dir : media) options.mediaDirectories.push_back(toMachine(dir));
        options.workDirectory = workParent + "\\kavset-" + UniqueSuffix();
        options.progress = kav::app::StderrIsTerminal();

        if (options.command == SetCommand::Extract) {
            kav::archive::TCompress(files).ForceDirectoryChain(options.targetDirectory);
        }
        kav::platform::ThrottledProcessor processor(machine->Cpu());
        const int status =
            kav::app::RunSetCommand(options, files, gui, &processor, std::cout, std::cerr);
        RemoveWorkDirectory(files, options.workDirectory);
        machine.reset();
        if (!simRoot.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(simRoot, ignored);
        }
        return status;
    } catch (const std::exception& error) {
        std::cerr << "kavset: " << error.what() << "\n";
        return kav::app::kExitDamaged;
    }
}
