#pragma once
// Builds a segment set from host files: packs them into one or more
// compressed archives, each with a scan record whose list file names every
// entry, and cuts the logical stream into segment files disk.001, ...
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lzh/compression_method.h"
#include "pack/encoder.h"

namespace kav::pack {

struct PackFile {
    std::filesystem::path hostPath;
    std::string storedName;  // code page 1252, "\"-separated
    std::uint64_t size = 0;
    std::int32_t fileDate = 0;  // DOS date-time, local time
    std::uint16_t attributes = 0x20;
};

struct PackOptions {
    std::uint8_t method = lzh::coLZH5;
    Level level = Level::Normal;
    std::uint64_t segmentSize = 1440000;
    // The first segment's size when it differs (it shares the first disk
    // with the installer); 0: `segmentSize`.
    std::uint64_t firstSegmentSize = 0;
    // A new archive starts before a file that would take an archive past
    // this many input bytes (a larger file has an archive of its own);
    // 0: as few archives as the format's sizes allow.
    std::uint64_t archiveSize = 0;
    // The first file in an archive of its own: the installer expands the
    // set archive by archive, so that file (the picture) is ready as soon
    // as its archive has been read.
    bool firstFileAlone = false;
    std::int32_t key = 0;  // non-zero: entries locked, coded data scrambled
};

struct SetSummary {
    std::size_t archives = 0;
    std::size_t segments = 0;
    std::uint64_t inputBytes = 0;
    std::uint64_t setBytes = 0;  // segment files, headers included
};

// Called before each file with the file and the percentage of input done.
using PackProgress = std::function<void(const PackFile& file, int percent)>;

// Writes the segment files into `directory` (which must exist), using it
// for work files too. Throws EPackError naming the file and the problem.
SetSummary WriteSegmentSet(const std::vector<PackFile>& files, const PackOptions& options,
                           const std::filesystem::path& directory,
                           const PackProgress& progress = {});

}  // namespace kav::pack
