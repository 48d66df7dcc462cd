#pragma once
// Reading a stream 64 KiB at a time for readers that ask for less: the
// codec driver fetches 8 KiB per refill and the archive reader a header at
// a time, and on a file every fetch would be a system call of its own.
// Only for reading; the memory is fixed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/stream.h"

namespace kav::app {

class ReadAheadStream final : public platform::Stream {
public:
    static constexpr std::size_t kChunk = 64 * 1024;

    explicit ReadAheadStream(platform::Stream& inner) : inner_(inner), buffer_(kChunk) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    // Throws EWriteError: nothing is written through this view.
    void WriteExactly(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override {
        return inner_.Position() - static_cast<std::int64_t>(end_ - next_);
    }
    std::int64_t Size() const override { return inner_.Size(); }
    void Seek(std::int64_t position) override;

private:
    platform::Stream& inner_;
    std::vector<std::uint8_t> buffer_;
    // The fetched bytes not yet read are buffer_[next_, end_).
    std::size_t next_ = 0;
    std::size_t end_ = 0;
};

}  // namespace kav::app
