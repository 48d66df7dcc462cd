#include "app/kavset/read_ahead_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/errors.h"

namespace kav::app {

std::size_t ReadAheadStream::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (next_ == end_) {
            // A request of a whole chunk or more goes straight through.
            if (count - done >= kChunk) return done + inner_.Read(out + done, count - done);
            next_ = 0;
            end_ = inner_.Read(buffer_.data(), kChunk);
            if (end_ == 0) break;
        }
        const std::size_t piece = std::min(count - done, end_ - next_);
        std::memcpy(out + done, buffer_.data() + next_, piece);
        next_ += piece;
        done += piece;
    }
    return done;
}

void ReadAheadStream::WriteExactly(const void*, std::size_t) {
    throw platform::EWriteError("Stream write error");
}

void ReadAheadStream::Seek(std::int64_t position) {
    // Entries are visited in order, so a seek mostly lands among the
    // fetched bytes, often right where reading stopped.
    const std::int64_t fetchedEnd = inner_.Position();
    const std::int64_t fetchedStart = fetchedEnd - static_cast<std::int64_t>(end_);
    if (position >= fetchedStart && position <= fetchedEnd) {
        next_ = static_cast<std::size_t>(position - fetchedStart);
        return;
    }
    next_ = end_ = 0;
    inner_.Seek(position);
}

}  // namespace kav::app
