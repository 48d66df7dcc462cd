#include "app/kavpack/floppy_layout.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "archive/seg_records.h"

extern char** environ;

namespace kav::app {
namespace {

namespace fs = std::filesystem;

// Runs `args` (found through PATH) and waits for it; throws when it cannot
// be started or does not end with status 0.
void RunTool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int started = ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (started != 0) {
        throw std::runtime_error(args[0] + ": cannot be run (" + std::strerror(started) +
                                 "); --floppy-images needs mtools");
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error(args[0] + ": lost track of it");
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed making " + args[2]);
}

}  // namespace

std::uint64_t OnFloppy(std::uint64_t bytes) {
    return (bytes + kFloppyCluster - 1) / kFloppyCluster * kFloppyCluster;
}

std::string FloppyName(std::size_t number) { return "DISK" + std::to_string(number); }

bool IsFloppyName(const std::string& name, bool image) {
    std::string upper;
    for (char c : name) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    const std::string suffix = image ? ".IMG" : "";
    if (upper.size() <= 4 + suffix.size() || upper.compare(0, 4, "DISK") != 0 ||
        upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::string digits = upper.substr(4, upper.size() - 4 - suffix.size());
    return digits.size() <= 3 && digits[0] != '0' &&
           digits.find_first_not_of("0123456789") == std::string::npos;
}

void LayOutFloppies(const fs::path& set, std::size_t segments) {
    for (std::size_t n = 1; n <= segments; ++n) {
        const fs::path disk = set / FloppyName(n);
        fs::create_directory(disk);
        std::vector<std::string> names{
            archive::SegmentFileName("disk", "", static_cast<std::uint16_t>(n))};
        if (n == 1) names.insert(names.begin(), {"install.exe", "install.cfg"});
        std::uint64_t used = 0;
        for (const auto& name : names) {
            used += OnFloppy(fs::file_size(set / name));
            fs::rename(set / name, disk / name);
        }
        if (used > kFloppyBytes) {
            throw std::runtime_error(FloppyName(n) + " would need " + std::to_string(used) +
                                     " bytes; a floppy holds " + std::to_string(kFloppyBytes));
        }
    }
}

void WriteFloppyImages(const fs::path& set, std::size_t segments) {
    for (std::size_t n = 1; n <= segments; ++n) {
        const fs::path disk = set / FloppyName(n);
        const std::string image = (set / (FloppyName(n) + ".IMG")).string();
        RunTool({"mformat", "-i", image, "-C", "-f", "1440", "-v", FloppyName(n), "::"});
        std::vector<std::string> copy{"mcopy", "-i", image};
        for (const auto& entry : fs::directory_iterator(disk))
            copy.push_back(entry.path().string());
        copy.push_back("::");
        RunTool(copy);
    }
}

}  // namespace kav::app
