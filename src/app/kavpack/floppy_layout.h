#pragma once
// kavpack build --floppy: the set laid out as the disks it goes on,
// OUTDIR/DISK1, DISK2, ..., and with --floppy-images each disk also as a
// 1.44 MB FAT12 image made with mtools.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kav::app {

// The room for files on a 1.44 MB floppy: 2847 clusters of 512 bytes.
inline constexpr std::uint64_t kFloppyBytes = 1457664;
inline constexpr std::uint64_t kFloppyCluster = 512;

// The room a file of `bytes` takes on a floppy: whole clusters.
std::uint64_t OnFloppy(std::uint64_t bytes);

// "DISK1", "DISK2", ...: the folder (and, with ".IMG", the image) of disk `number`.
std::string FloppyName(std::size_t number);

// Whether `name` (any case) is a disk folder name, or with `image` an image
// name, that LayOutFloppies / WriteFloppyImages make.
bool IsFloppyName(const std::string& name, bool image);

// Moves the segments disk.001 ... disk.NNN of `set` into DISK1 ... DISKn
// and install.exe and install.cfg into DISK1. Throws std::runtime_error
// when a disk would hold more than a floppy does.
void LayOutFloppies(const std::filesystem::path& set, std::size_t segments);

// Writes DISKn.IMG beside each DISKn folder: mformat makes an empty
// 1.44 MB image, mcopy puts the folder's files on it.
void WriteFloppyImages(const std::filesystem::path& set, std::size_t segments);

}  // namespace kav::app
