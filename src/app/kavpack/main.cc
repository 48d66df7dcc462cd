// kavpack: builds installation sets from a product's source folder and
// checks them with the installer's own readers.
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/kavpack/build_command.h"
#include "app/kavpack/init_command.h"
#include "app/kavpack/verify_command.h"
#include "app/kavset/terminal_gui.h"

namespace {

namespace fs = std::filesystem;
using kav::app::kPackUsage;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "kavpack: " << problem << "\n";
    std::cerr << "usage: kavpack build SRCDIR OUTDIR [--method lh5|lzh|rle|none] [--level "
                 "fast|normal|best]\n"
                 "                     [--segment-size BYTES | --floppy | --floppy-images]\n"
                 "                     [--archive-size BYTES] [--key N]\n"
                 "                     [--installer PATH] [--uninstaller PATH | --no-uninstaller]\n"
                 "       kavpack verify OUTDIR [--against SRCDIR] [--key N]\n"
                 "       kavpack init SRCDIR [--title T] [--publisher P] [--version V] "
                 "[--force]\n";
    return kPackUsage;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used, 0);
        return used == text.size() && value >= low && value <= high;
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseKey(const std::string& text, std::int32_t& key) {
    long long value = 0;
    if (!ParseNumber(text, INT32_MIN, UINT32_MAX, value)) return false;
    key = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return true;
}

bool ParseMethod(const std::string& text, std::uint8_t& method) {
    if (text == "lh5")
        method = kav::lzh::coLZH5;
    else if (text == "lzh")
        method = kav::lzh::coLZH;
    else if (text == "rle")
        method = kav::lzh::coRLE;
    else if (text == "none")
        method = kav::lzh::coNone;
    else
        return false;
    return true;
}

bool ParseLevel(const std::string& text, kav::pack::Level& level) {
    if (text == "fast")
        level = kav::pack::Level::Fast;
    else if (text == "normal")
        level = kav::pack::Level::Normal;
    else if (text == "best")
        level = kav::pack::Level::Best;
    else
        return false;
    return true;
}

fs::path SelfFolder(const char* argv0) {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0);
    return self.parent_path();
}

// The program `name` beside this program, or else the one the Windows
// build of this source tree makes (`built`); empty when neither is there.
fs::path BuiltProgram(const char* argv0, const char* name, const char* built) {
    std::error_code error;
    for (const fs::path& candidate : {SelfFolder(argv0) / name, fs::path(built)}) {
        if (fs::is_regular_file(candidate, error)) return candidate;
    }
    return fs::path();
}

int Build(const std::vector<std::string>& args, const char* argv0) {
    kav::app::BuildOptions options;
    std::vector<std::string> places;
    bool segmentGiven = false;
    bool uninstallerGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        long long number = 0;
        if (arg == "--method") {
            if (!hasValue || !ParseMethod(args[++i], options.pack.method))
                return Usage("--method takes lh5, lzh, rle or none");
        } else if (arg == "--level") {
            if (!hasValue || !ParseLevel(args[++i], options.pack.level))
                return Usage("--level takes fast, normal or best");
        } else if (arg == "--segment-size" || arg == "--floppy" || arg == "--floppy-images") {
            if (segmentGiven) return Usage("give --segment-size, --floppy or --floppy-images once");
            segmentGiven = true;
            if (arg != "--segment-size") {
                options.floppy = true;
                options.floppyImages = arg == "--floppy-images";
            } else if (!hasValue || !ParseNumber(args[++i], 1, LLONG_MAX, number)) {
                return Usage("--segment-size needs a number of bytes");
            } else {
                options.pack.segmentSize = static_cast<std::uint64_t>(number);
            }
        } else if (arg == "--archive-size") {
            if (!hasValue || !ParseNumber(args[++i], 1, LLONG_MAX, number))
                return Usage("--archive-size needs a number of bytes");
            options.pack.archiveSize = static_cast<std::uint64_t>(number);
        } else if (arg == "--key") {
            if (!hasValue || !ParseKey(args[++i], options.pack.key))
                return Usage("--key needs a 32-bit number");
        } else if (arg == "--installer") {
            if (!hasValue) return Usage("--installer needs a path");
            options.installer = args[++i];
        } else if (arg == "--uninstaller") {
            if (!hasValue) return Usage("--uninstaller needs a path");
            options.uninstaller = args[++i];
            uninstallerGiven = true;
        } else if (arg == "--no-uninstaller") {
            options.withUninstaller = false;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option \"" + arg + "\"");
        } else {
            places.push_back(arg);
        }
    }
    if (places.size() != 2) return Usage("build takes SRCDIR and OUTDIR");
    options.source = places[0];
    options.output = fs::absolute(places[1]).lexically_normal();
    if (options.output.filename().empty()) options.output = options.output.parent_path();
    if (options.installer.empty()) {
        options.installer = BuiltProgram(argv0, "install.exe", KAV_BUILT_INSTALLER);
        // Named in the error that follows when there is none.
        if (options.installer.empty()) options.installer = SelfFolder(argv0) / "install.exe";
    }
    if (!uninstallerGiven) {
        options.uninstaller = BuiltProgram(argv0, "uninstaller.exe", KAV_BUILT_UNINSTALLER);
    }
    options.progress = kav::app::StderrIsTerminal();
    return kav::app::RunBuild(options, std::cout, std::cerr);
}

int Verify(const std::vector<std::string>& args) {
    kav::app::VerifyOptions options;
    std::vector<std::string> places;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--against") {
            if (!hasValue) return Usage("--against needs a folder");
            options.against = args[++i];
        } else if (arg == "--key") {
            if (!hasValue || !ParseKey(args[++i], options.key))
                return Usage("--key needs a 32-bit number");
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option \"" + arg + "\"");
        } else {
            places.push_back(arg);
        }
    }
    if (places.size() != 1) return Usage("verify takes OUTDIR");
    options.set = places[0];
    options.progress = kav::app::StderrIsTerminal();
    return kav::app::RunVerify(options, std::cout, std::cerr);
}

int Init(const std::vector<std::string>& args) {
    kav::app::InitOptions options;
    std::vector<std::string> places;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        std::string* text = arg == "--title"       ? &options.title
                            : arg == "--publisher" ? &options.publisher
                            : arg == "--version"   ? &options.version
                                                   : nullptr;
        if (text != nullptr) {
            if (!hasValue) return Usage(arg + " needs a text");
            *text = args[++i];
        } else if (arg == "--force") {
            options.force = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option \"" + arg + "\"");
        } else {
            places.push_back(arg);
        }
    }
    if (places.size() != 1) return Usage("init takes SRCDIR");
    options.source = places[0];
    return kav::app::RunInit(options, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("");
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "build") return Build(args, argv[0]);
    if (command == "verify") return Verify(args);
    if (command == "init") return Init(args);
    return Usage("unknown command \"" + command + "\"");
}
