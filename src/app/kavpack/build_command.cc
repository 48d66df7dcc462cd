#include "app/kavpack/build_command.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "app/kavpack/disk_count.h"
#include "app/kavpack/floppy_layout.h"
#include "app/kavpack/messages.h"
#include "app/kavpack/script_check.h"
#include "app/kavpack/source_scan.h"
#include "app/kavpack/uninstaller_file.h"
#include "app/kavset/progress_bar.h"
#include "base/profile_document.h"
#include "pack/pack_errors.h"
#include "pack/segment_splitter.h"
#include "pack/stored_names.h"
#include "widgets/picture/picture.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

std::string LowerAscii(std::string text) {
    for (auto& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

// Only a folder holding nothing but a set (segments, script, installer) is
// replaced; anything else in it could be someone's work.
bool HoldsOnlyASet(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = LowerAscii(entry.path().filename().string());
        const bool segment = name.size() == 8 && name.compare(0, 5, "disk.") == 0 &&
                             name.find_first_not_of("0123456789", 5) == std::string::npos;
        if (entry.is_directory() && IsFloppyName(name, false)) {
            if (!HoldsOnlyASet(entry.path())) return false;
            continue;
        }
        if (!entry.is_regular_file() || !(segment || name == "install.cfg" ||
                                          name == "install.exe" || IsFloppyName(name, true))) {
            return false;
        }
    }
    return true;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw std::runtime_error(path.string() + ": cannot be written");
}

// The installer shows the picture as soon as it has been expanded, so it
// goes first. Whether the set holds it.
bool PictureFirst(std::vector<pack::PackFile>& files, const std::string& scriptText) {
    const auto picture = base::ProfileDocument(scriptText).Read("Setup - Main", "Bitmap File");
    const auto key = picture ? pack::FlatKey(*picture) : std::nullopt;
    if (!key) return false;
    const auto rest = std::stable_partition(
        files.begin(), files.end(),
        [&](const pack::PackFile& file) { return pack::FlatKey(file.storedName) == key; });
    return rest != files.begin();
}

// How the set is cut: with floppies, the first segment takes what
// install.exe and the script (its disk count at most three digits) leave
// of the first disk. Archives are no larger than a segment unless told.
pack::PackOptions CutFor(const BuildOptions& options, const std::string& scriptText) {
    pack::PackOptions pack = options.pack;
    if (options.floppy) {
        const std::uint64_t beside = OnFloppy(fs::file_size(options.installer)) +
                                     OnFloppy(WithInstallDisks(scriptText, 999).size());
        if (beside + pack::kSmallestSegment > kFloppyBytes) {
            throw std::runtime_error(options.installer.string() +
                                     ": too large to leave room for the first segment on a "
                                     "floppy");
        }
        pack.segmentSize = kFloppyBytes;
        pack.firstSegmentSize = kFloppyBytes - beside;
    }
    if (pack.archiveSize == 0)
        pack.archiveSize = std::max(pack.segmentSize, pack::kSmallestSegment);
    return pack;
}

// install.exe leaves out a picture it cannot decode; the author hears of it
// here rather than from a main screen without its picture.
std::optional<std::string> PictureProblem(const std::vector<pack::PackFile>& files,
                                          const std::string& scriptText) {
    const auto picture = base::ProfileDocument(scriptText).Read("Setup - Main", "Bitmap File");
    const auto key = picture ? pack::FlatKey(*picture) : std::nullopt;
    if (!key) return std::nullopt;
    for (const pack::PackFile& file : files) {
        if (pack::FlatKey(file.storedName) != key) continue;
        std::ifstream in(file.hostPath, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        try {
            widgets::DecodePicture(bytes.data(), bytes.size());
            return std::nullopt;
        } catch (const widgets::EInvalidGraphic& error) {
            return "Bitmap File=" + *picture + ": install.exe cannot show this picture (" +
                   error.what() + "); its main screen will have none";
        }
    }
    return std::nullopt;
}

fs::path Beside(const fs::path& folder, const std::string& what) {
    return folder.parent_path() /
           ("." + folder.filename().string() + ".kavpack-" + what + "-" + std::to_string(getpid()));
}

// Work folders beside `folder` left by a kavpack that was killed: named
// as Beside() names them, for a process that no longer runs.
void RemoveStaleWorkFolders(const fs::path& folder) {
    const std::string prefix = "." + folder.filename().string() + ".kavpack-";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 || !entry.is_directory()) continue;
        std::string rest = name.substr(prefix.size());
        for (const char* what : {"new-", "old-"}) {
            if (rest.compare(0, 4, what) != 0) continue;
            const std::string pid = rest.substr(4);
            if (pid.empty() || pid.size() > 9 ||
                pid.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH) {
                fs::remove_all(entry.path(), error);
            }
        }
    }
}

// Whether `inner` is `outer` or lies inside it, both as absolute paths
// with their links resolved as far as they exist.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    const fs::path a = fs::weakly_canonical(fs::absolute(inner));
    const fs::path b = fs::weakly_canonical(fs::absolute(outer));
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) continue;  // a trailing separator
        if (ai == a.end() || *ai != *bi) return false;
    }
    return true;
}

class Builder {
public:
    Builder(const BuildOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err), progress_(err, options.progress) {}

    int Run() {
        const fs::path script = options_.source / "install.cfg";
        if (!fs::is_directory(options_.source))
            return Fail(options_.source.string() + ": not a folder");
        if (!fs::is_regular_file(script)) {
            return Fail(script.string() + ": missing; every set needs its installation script");
        }
        if (!fs::is_regular_file(options_.installer)) {
            return Fail(options_.installer.string() +
                        ": installer not found (give --installer PATH)");
        }
        SourceScan scan = ScanSourceFolder(options_.source);
        for (const auto& warning : scan.warnings) Warn(warning);
        if (!scan.problems.empty()) {
            for (const auto& problem : scan.problems) Problem(problem);
            return Fail("nothing written: " + std::to_string(scan.problems.size()) +
                        " name(s) the installer could not place");
        }
        const std::string scriptText = ReadText(script);
        // Added first, so that the script's line for it counts as naming a
        // file of the set; a missing line has a warning of its own.
        std::vector<std::string> uninstallerWarnings;
        if (options_.withUninstaller) {
            uninstallerWarnings = AddUninstaller(scan.files, options_.uninstaller, scriptText);
        }
        std::vector<std::string> names;
        for (const auto& f : scan.files) names.push_back(f.storedName);
        if (options_.pack.key != 0) {
            Warn(
                "--key: install.exe expands sets without a key; this set is for readers "
                "given the key (kavset --key)");
        }
        for (const auto& warning : FilesListWarnings(scriptText, names)) {
            if (uninstallerWarnings.empty() || warning.rfind(kUninstallerName, 0) != 0) {
                Warn(warning);
            }
        }
        for (const auto& warning : uninstallerWarnings) Warn(warning);
        pack::PackOptions cut = CutFor(options_, scriptText);
        cut.firstFileAlone = PictureFirst(scan.files, scriptText);
        if (auto problem = PictureProblem(scan.files, scriptText)) Warn(*problem);

        if (IsWithin(options_.output, options_.source)) {
            return Fail(options_.output.string() +
                        ": is the source folder or inside it; the set goes elsewhere");
        }
        if (IsWithin(options_.source, options_.output)) {
            return Fail(options_.output.string() +
                        ": holds the source folder; the set goes elsewhere");
        }
        RemoveStaleWorkFolders(options_.output);
        if (fs::exists(options_.output) &&
            !(fs::is_directory(options_.output) && HoldsOnlyASet(options_.output))) {
            return Fail(options_.output.string() +
                        ": exists and holds more than a set; not replacing it");
        }
        const fs::path work = Beside(options_.output, "new");
        fs::remove_all(work);
        fs::create_directories(work);
        pack::SetSummary summary;
        try {
            summary = pack::WriteSegmentSet(scan.files, cut, work,
                                            [this](const pack::PackFile& file, int percent) {
                                                progress_.Show(file.storedName, percent);
                                            });
            // The script travels with the set's true disk count.
            WriteText(work / "install.cfg", WithInstallDisks(scriptText, summary.segments));
            fs::copy_file(options_.installer, work / "install.exe");
            if (options_.floppy) LayOutFloppies(work, summary.segments);
            if (options_.floppyImages) WriteFloppyImages(work, summary.segments);
            PutInPlace(work);
        } catch (const std::exception& error) {
            progress_.Clear();
            std::error_code ignored;
            fs::remove_all(work, ignored);
            return Fail(error.what());
        }
        progress_.Clear();
        out_ << scan.files.size() << " files, " << summary.inputBytes << " bytes -> "
             << summary.setBytes << " bytes in " << summary.archives << " archive(s), "
             << summary.segments << " segment(s): " << options_.output.string() << "\n";
        return kPackSuccess;
    }

private:
    // The finished set takes the output folder's name in one rename; an
    // older set there is moved aside first and removed afterwards.
    void PutInPlace(const fs::path& work) {
        if (!fs::exists(options_.output)) {
            fs::rename(work, options_.output);
            return;
        }
        const fs::path old = Beside(options_.output, "old");
        fs::remove_all(old);
        fs::rename(options_.output, old);
        fs::rename(work, options_.output);
        fs::remove_all(old);
    }

    int Fail(const std::string& text) {
        Problem(text);
        return kPackFailure;
    }
    void Problem(const std::string& text) { WriteProblem(err_, text); }
    void Warn(const std::string& text) {
        progress_.Clear();
        WriteWarning(err_, text);
    }

    const BuildOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar progress_;
};

}  // namespace

int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err) {
    try {
        return Builder(options, out, err).Run();
    } catch (const std::exception& error) {
        err << "kavpack: " << error.what() << "\n";
        return kPackFailure;
    }
}

}  // namespace kav::app
