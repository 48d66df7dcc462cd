#pragma once
// kavpack build: a segment set, the script and the installer from a
// product's source folder, written atomically into the output folder.
#include <filesystem>
#include <iosfwd>

#include "pack/set_writer.h"

namespace kav::app {

struct BuildOptions {
    std::filesystem::path source;
    std::filesystem::path output;
    std::filesystem::path installer;
    // The uninstaller put into the set; empty: none was found.
    std::filesystem::path uninstaller;
    bool withUninstaller = true;
    // pack.archiveSize 0: archives no larger than a segment, so that the
    // installer expands each disk's files as the disk is read.
    pack::PackOptions pack;
    // The set as floppies: OUTDIR/DISK1, DISK2, ... (segment size ignored);
    // with floppyImages also DISK1.IMG, ... (needs mtools).
    bool floppy = false;
    bool floppyImages = false;
    bool progress = false;
};

// Exit statuses of kavpack.
inline constexpr int kPackSuccess = 0;
inline constexpr int kPackUsage = 1;
inline constexpr int kPackFailure = 2;

int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kav::app
