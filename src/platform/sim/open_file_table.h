#pragma once
// The files this process has open, with the sharing each open allows, so
// that a conflicting open is refused as Windows refuses it.
#include <cstdint>
#include <map>
#include <utility>

namespace kav::platform::sim {

enum class OpenMode {
    SharedRead,     // reading; others may read, nobody may write
    ExclusiveRead,  // reading; no other open at all
    ExclusiveWrite  // writing and reading; no other open at all
};

// A file is known by its host device and inode, whatever name opened it.
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

class OpenFileTable {
public:
    // Whether an open in `mode` may join the opens that exist now.
    bool MayOpen(const FileIdentity& file, OpenMode mode) const;
    bool IsOpen(const FileIdentity& file) const;
    void Add(const FileIdentity& file, OpenMode mode);
    void Remove(const FileIdentity& file, OpenMode mode);

private:
    std::multimap<FileIdentity, OpenMode> opens_;
};

}  // namespace kav::platform::sim
