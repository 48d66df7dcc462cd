#include "install/autoexec_step.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "install/install_undo.h"
#include "install/text_file.h"

namespace kav::install {

namespace {

void Status(platform::Machine& machine, InstallView& view, const std::string& text) {
    view.ShowSource(text);
    machine.Ui().ProcessMessages();
}

// The whole file, or an empty text when there is none.
std::string ReadWhole(platform::FileSystem& files, const std::string& path) {
    if (!files.FileExists(path)) return std::string();
    try {
        return ReadWholeFile(files, path);
    } catch (const kav::Exception&) {
        throw EInstallStop("Cannot open file " + path);
    }
}

// Puts `text` in the place of `path` in one step; on any failure the
// scratch file goes and `path` is as it was.
void ReplaceWhole(platform::FileSystem& files, const std::string& path, const std::string& scratch,
                  const std::string& text) {
    if (!ReplaceWholeFile(files, path, scratch, text)) {
        throw EInstallStop("Cannot create file " + path);
    }
}

}  // namespace

std::string ConvertAutoexecLine(const std::string& entry, const DirectoryTable& table,
                                const std::string& systemDriveRoot,
                                const std::function<std::string(const std::string&)>& shortPath) {
    std::string line = base::AsciiUpper(entry);
    // After the "COPY" that the space follows, so that a word such as
    // COPYALL before it is left whole.
    if (const std::size_t copy = line.find("COPY "); copy != std::string::npos) {
        line.insert(copy + 4, "/Y");
    }
    if (line.find('<') == std::string::npos) return line;
    // Each round that changes something uses up one "<" of the entry; a
    // path that brings its own tag back (a directory named like its tag)
    // would otherwise keep the rounds going for ever.
    // A composite tag ("<SUB1><INSTALLDIR>") before the tags it ends with,
    // which would otherwise take its last part and leave "<SUB1>" behind.
    std::vector<const DirectoryRow*> rows;
    for (const DirectoryRow& row : table) rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(), [](const DirectoryRow* a, const DirectoryRow* b) {
        return a->tag.size() > b->tag.size();
    });
    std::size_t rounds = static_cast<std::size_t>(std::count(line.begin(), line.end(), '<')) + 1;
    for (; rounds > 0; --rounds) {
        bool changed = false;
        if (const std::size_t at = line.find("<ROOT>"); at != std::string::npos) {
            line.replace(at, 6, systemDriveRoot);
            changed = true;
        }
        for (const DirectoryRow* row : rows) {
            const std::size_t at = line.find(row->tag);
            if (at == std::string::npos) continue;
            std::string path = shortPath(row->path);
            if (path.empty()) path = row->path;
            line.replace(at, row->tag.size(), path);
            changed = true;
        }
        if (!changed) break;
    }
    return line;
}

void AppendAutoexecBlock(std::vector<std::string>& lines, const std::vector<std::string>& entries,
                         const DirectoryTable& table, const std::string& systemDriveRoot,
                         const std::function<std::string(const std::string&)>& shortPath) {
    lines.push_back(kAutoexecStart);
    for (const std::string& entry : entries) {
        lines.push_back(ConvertAutoexecLine(entry, table, systemDriveRoot, shortPath));
    }
    lines.push_back(kAutoexecEnd);
}

void UpdateAutoexecBat(platform::Machine& machine, InstallView& view, UninstallScript& script,
                       const DirectoryTable& table, const std::string& systemDriveRoot,
                       const std::string& installDirectory,
                       const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    auto& files = machine.Files();
    const std::string file = systemDriveRoot + "autoexec.bat";
    const std::string backup = systemDriveRoot + "autoexec.kav";
    const std::string scratch = systemDriveRoot + "autoexec.k$$";

    Status(machine, view, "Copying Old Autoexec.bat to Autoexec.kav");
    // A missing file is taken as empty and made; the uninstaller then takes
    // it away again instead of leaving an empty one.
    const bool existed = files.FileExists(file);
    const std::string old = ReadWhole(files, file);
    // An "autoexec.kav" that was there already is not this product's
    // (unless an earlier install into this directory noted it as its own):
    // it is saved with the other replaced files, for the uninstaller to put
    // back.
    const auto backupState = SaveBeforeReplacing(files, script, installDirectory, backup);
    if (!backupState) throw EInstallStop("Unable to save " + backup);
    // The backup is the file byte for byte, whatever its line ends.
    ReplaceWhole(files, backup, scratch, old);
    NotePlacedFile(script, backup, *backupState);

    std::vector<std::string> lines = SplitTextLines(old);
    const auto oldLines = static_cast<std::ptrdiff_t>(lines.size());
    AppendAutoexecBlock(lines, entries, table, systemDriveRoot, [&](const std::string& path) {
        return machine.SystemDirs().ShortPathName(path);
    });
    script.Record(kUninstallAutoexec, file);
    if (!existed) script.RecordOnce(kUninstallFileStates, file, kFileNew);
    RecordAutoexecBlock(script, {lines.begin() + oldLines, lines.end()});

    Status(machine, view, "Updating Autoexec.bat file");
    ReplaceWhole(files, file, scratch, JoinTextLines(lines));
}

}  // namespace kav::install
