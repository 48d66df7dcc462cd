#include "platform/sim/sim_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/sim/dos_time.h"

namespace kav::platform::sim {

SimFileStream::SimFileStream(int descriptor, FileIdentity identity, OpenMode mode,
                             std::shared_ptr<OpenFileTable> table, AttributeSetter setAttributes)
    : descriptor_(descriptor),
      identity_(identity),
      mode_(mode),
      table_(std::move(table)),
      setAttributes_(std::move(setAttributes)) {
    table_->Add(identity_, mode_);
}

SimFileStream::~SimFileStream() {
    table_->Remove(identity_, mode_);
    ::close(descriptor_);
}

std::size_t SimFileStream::Read(void* buffer, std::size_t count) {
    std::size_t total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < count) {
        const ssize_t n = ::pread(descriptor_, bytes + total, count - total,
                                  static_cast<off_t>(position_ + static_cast<std::int64_t>(total)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += static_cast<std::size_t>(n);
    }
    position_ += static_cast<std::int64_t>(total);
    return total;
}

void SimFileStream::WriteExactly(const void* buffer, std::size_t count) {
    if (mode_ != OpenMode::ExclusiveWrite) throw EWriteError("Stream write error");
    std::size_t total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < count) {
        const ssize_t n =
            ::pwrite(descriptor_, bytes + total, count - total,
                     static_cast<off_t>(position_ + static_cast<std::int64_t>(total)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += static_cast<std::size_t>(n);
    }
    position_ += static_cast<std::int64_t>(total);
    if (total != count) throw EWriteError("Stream write error");
}

std::int64_t SimFileStream::Size() const {
    struct stat st {};
    if (::fstat(descriptor_, &st) != 0) return 0;
    return static_cast<std::int64_t>(st.st_size);
}

void SimFileStream::Seek(std::int64_t position) {
    if (position < 0) throw EInOutError("Seek before the start of a file");
    position_ = position;
}

bool SimFileStream::SetAttributes(std::uint32_t attributes) {
    // As for the file's times, only a file opened for writing may be changed.
    return mode_ == OpenMode::ExclusiveWrite && setAttributes_ && setAttributes_(attributes);
}

bool SimFileStream::SetDosDateTime(std::uint32_t dosDateTime) {
    // Windows sets file times only through a handle opened for writing.
    if (mode_ != OpenMode::ExclusiveWrite) return false;
    const auto time = DosDateTimeToTime(dosDateTime);
    if (!time) return false;
    const timespec times[2] = {{*time, 0}, {*time, 0}};
    return ::futimens(descriptor_, times) == 0;
}

}  // namespace kav::platform::sim
