#pragma once
// What tells one state of a host file from another without reading it: its
// identity, size and times. Kernels stamp files from a clock that runs a
// tick behind, so two writes within one tick can leave a file of the same
// size with the same stamp; only a stamp older than that is proof that the
// file has not changed since.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kav::platform::sim {

// Far longer than a kernel's clock tick (at most 10 ms).
inline constexpr std::chrono::milliseconds kStampSettleTime{100};

struct HostFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;  // content written
    std::int64_t changedNs = 0;   // content or inode changed; cannot be set back
    // Whether any later change will give the file another stamp: its last
    // change lay kStampSettleTime or more before the stamp was taken.
    bool settled = false;

    bool SameState(const HostFileStamp& other) const;
};

// The stamp of a host file (links followed), or nothing when it is missing.
std::optional<HostFileStamp> StampOf(const std::string& hostPath);

}  // namespace kav::platform::sim
