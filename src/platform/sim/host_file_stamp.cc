#include "platform/sim/host_file_stamp.h"

#include <sys/stat.h>

namespace kav::platform::sim {

namespace {

std::int64_t Nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

bool HostFileStamp::SameState(const HostFileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}

std::optional<HostFileStamp> StampOf(const std::string& hostPath) {
    // The clock is read first: a change after it gets a time no earlier than
    // one tick before it.
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    struct stat st {};
    if (::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
    HostFileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.modifiedNs = Nanoseconds(st.st_mtim);
    stamp.changedNs = Nanoseconds(st.st_ctim);
    stamp.settled =
        stamp.changedNs <
        now - std::chrono::duration_cast<std::chrono::nanoseconds>(kStampSettleTime).count();
    return stamp;
}

}  // namespace kav::platform::sim
