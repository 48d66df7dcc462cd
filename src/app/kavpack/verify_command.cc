#include "app/kavpack/verify_command.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "app/kavpack/build_command.h"
#include "app/kavpack/disk_count.h"
#include "app/kavpack/source_scan.h"
#include "app/kavpack/uninstaller_file.h"
#include "app/kavset/set_tool.h"
#include "app/kavset/terminal_gui.h"
#include "app/kavsetup/host_paths.h"
#include "pack/stored_names.h"
#include "platform/machine.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

// Runs one kavset command on host folders through a simulated machine
// that sees the host through drive Z:.
int RunOnSimulatedMachine(SetOptions options, const fs::path& set, const fs::path& target,
                          std::ostream& out, std::ostream& err) {
    const fs::path root =
        fs::temp_directory_path() / ("kavpack-verify-" + std::to_string(getpid()));
    int status = kPackFailure;
    {
        TerminalGui gui;
        auto machine = platform::MakeSimMachine(root.string(), gui);
        const std::string cwd = fs::current_path().string();
        auto& files = machine->Files();
        options.set = files.FullPathName(HostToWindowsPath(fs::absolute(set).string(), cwd));
        if (!target.empty()) {
            options.targetDirectory =
                files.FullPathName(HostToWindowsPath(fs::absolute(target).string(), cwd));
        }
        options.workDirectory = machine->SystemDirs().WindowsDirectory() + "\\Temp";
        std::ostringstream quiet;
        status = RunSetCommand(options, files, gui, &machine->Cpu(),
                               options.command == SetCommand::Test ? out : quiet, err);
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return status;
}

bool SameContent(const fs::path& a, const fs::path& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    if (!x || !y) return false;
    return std::equal(std::istreambuf_iterator<char>(x), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(y), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t CountFiles(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) ++count;
    }
    return count;
}

// Extracts the set and compares it, file by file, with what the source
// folder would put into it.
int CompareWithSource(const VerifyOptions& options, std::ostream& out, std::ostream& err) {
    const fs::path extracted =
        fs::temp_directory_path() / ("kavpack-extract-" + std::to_string(getpid()));
    fs::remove_all(extracted);
    fs::create_directories(extracted);
    SetOptions extract;
    extract.command = SetCommand::Extract;
    extract.key = options.key;
    int status = RunOnSimulatedMachine(extract, options.set, extracted, out, err);
    std::size_t differing = 0;
    const SourceScan source = ScanSourceFolder(options.against);
    if (status == kPackSuccess) {
        for (const auto& file : source.files) {
            const fs::path relative = file.hostPath.lexically_relative(options.against);
            if (!SameContent(file.hostPath, extracted / relative)) {
                err << "kavpack: " << relative.generic_string() << ": differs from the set\n";
                ++differing;
            }
        }
        std::size_t inSet = CountFiles(extracted);
        // kavpack adds the uninstaller to a set whose source has none.
        const bool uninstallerAdded =
            fs::is_regular_file(extracted / kUninstallerName) &&
            std::none_of(source.files.begin(), source.files.end(), [](const pack::PackFile& f) {
                return pack::FlatKey(f.storedName) == pack::FlatKey(kUninstallerName);
            });
        if (uninstallerAdded) --inSet;
        if (inSet != source.files.size()) {
            err << "kavpack: the set holds " << inSet << " files, the source folder "
                << source.files.size() << "\n";
            ++differing;
        }
        for (const char* beside : {"install.cfg", "install.exe"}) {
            if (!fs::is_regular_file(options.set / beside)) {
                err << "kavpack: " << (options.set / beside).string() << ": missing\n";
                ++differing;
            }
        }
        // The set's script is the source's, as kavpack writes it with the
        // set's disk count or as a set made without kavpack carries it.
        const std::string sourceScript = ReadText(options.against / "install.cfg");
        const std::string setScript = ReadText(options.set / "install.cfg");
        if (setScript != sourceScript &&
            setScript != WithInstallDisks(sourceScript, CountSegmentFiles(options.set))) {
            err << "kavpack: install.cfg differs from the source folder's\n";
            ++differing;
        }
        if (differing == 0) {
            out << source.files.size() << " files identical to " << options.against.string()
                << "\n";
        }
    }
    std::error_code ignored;
    fs::remove_all(extracted, ignored);
    return status != kPackSuccess ? status : differing ? kPackFailure : kPackSuccess;
}

}  // namespace

int RunVerify(const VerifyOptions& options, std::ostream& out, std::ostream& err) {
    try {
        if (!fs::is_regular_file(options.set / "disk.001")) {
            err << "kavpack: " << (options.set / "disk.001").string() << ": no set there\n";
            return kPackFailure;
        }
        SetOptions test;
        test.command = SetCommand::Test;
        test.key = options.key;
        test.progress = options.progress;
        const int status = RunOnSimulatedMachine(test, options.set, {}, out, err);
        if (status != kPackSuccess || options.against.empty()) return status;
        return CompareWithSource(options, out, err);
    } catch (const std::exception& error) {
        err << "kavpack: " << error.what() << "\n";
        return kPackFailure;
    }
}

}  // namespace kav::app
