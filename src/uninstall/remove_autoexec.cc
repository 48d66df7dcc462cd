// The AUTOEXEC.BAT step. When the file holds exactly what the install left
// (the backup's lines followed by the product's block), it is put back byte
// for byte from the backup, which then goes. Otherwise someone has changed
// it since: only the product's block is taken out. Blocks a repeated
// install of the product appended, identical to the recorded one, are
// taken out as well. The file is always replaced in one step.
#include <algorithm>
#include <optional>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "install/autoexec_step.h"
#include "install/directory_table.h"
#include "install/install_undo.h"
#include "install/text_file.h"
#include "uninstall/removal.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

// Removes every run of lines equal to `block`; returns how many.
int TakeOutBlocks(std::vector<std::string>& lines, const std::vector<std::string>& block) {
    int count = 0;
    for (std::size_t at = 0; !block.empty() && at + block.size() <= lines.size();) {
        const auto first = lines.begin() + static_cast<std::ptrdiff_t>(at);
        if (std::equal(block.begin(), block.end(), first)) {
            lines.erase(first, first + static_cast<std::ptrdiff_t>(block.size()));
            ++count;
        } else {
            ++at;
        }
    }
    return count;
}

}  // namespace

void Removal::RestoreAutoexec() {
    for (const std::string& file : record_.autoexecFiles) {
        Step(file);
        const std::string full = guard_.Full(file);
        const std::size_t cut = full.find_last_of('\\');
        const bool isRootFile = cut != std::string::npos &&
                                base::IsDriveRoot(full.substr(0, cut + 1)) &&
                                base::AsciiUpper(full.substr(cut + 1)) == "AUTOEXEC.BAT";
        if (!isRootFile || guard_.PassesThroughLink(full)) {
            Left(file, "not the AUTOEXEC.BAT of a drive root");
            continue;
        }
        RestoreAutoexecFile(full);
    }
}

void Removal::RestoreAutoexecFile(const std::string& file) {
    platform::FileSystem& files = machine_.Files();
    const std::string root = file.substr(0, file.find_last_of('\\') + 1);
    const std::string backup = root + "autoexec.kav";
    const std::string scratch = root + "autoexec.k$$";
    const std::vector<std::string>& block = record_.autoexecLines;
    if (block.size() < 2 || block.front() != install::kAutoexecStart ||
        block.back() != install::kAutoexecEnd) {
        Left(file, "the install's record of its lines is missing");
        return;
    }
    std::string text;
    try {
        text = install::ReadWholeFile(files, file);
    } catch (const kav::Exception&) {
        Left(file, "cannot be read");
        return;
    }
    std::vector<std::string> lines = install::SplitTextLines(text);

    std::optional<std::string> before;
    try {
        if (files.FileExists(backup)) before = install::ReadWholeFile(files, backup);
    } catch (const kav::Exception&) {
    }
    std::vector<std::string> expected =
        before ? install::SplitTextLines(*before) : std::vector<std::string>{};
    expected.insert(expected.end(), block.begin(), block.end());
    const bool asLeft = before && lines == expected;
    // There was no AUTOEXEC.BAT before the install: it goes as a whole.
    if (asLeft && before->empty() && StateOf(file) == install::kFileNew) {
        if (files.RemoveFile(file)) {
            result_.removed.push_back(file);
        } else {
            Left(file, "could not be removed");
            return;
        }
        if (files.RemoveFile(backup)) result_.removed.push_back(backup);
        return;
    }

    std::vector<std::string> result = asLeft ? install::SplitTextLines(*before) : lines;
    const int takenOut = TakeOutBlocks(result, block);
    if (!asLeft && takenOut == 0) {
        Left(file, "no longer holds the product's lines");
        return;
    }
    const std::string newText = asLeft && takenOut == 0 ? *before : install::JoinTextLines(result);
    if (!install::ReplaceWholeFile(files, file, scratch, newText)) {
        Left(file, "could not be written");
        return;
    }
    if (asLeft) {
        result_.restored.push_back(file);
        if (files.RemoveFile(backup)) result_.removed.push_back(backup);
    } else {
        result_.removed.push_back(file + ": the product's lines");
        Left(backup, "AUTOEXEC.BAT was changed after the install; its old copy stays");
    }
}

}  // namespace kav::uninstall
