#pragma once
// The dictionary of the LZ decoders: the last `size` output bytes as a ring,
// starting as spaces. Literals and matches go to the window and, a byte at
// a time, to the codec driver.
#include <algorithm>
#include <array>
#include <cstdint>

#include "lzh/codec_driver_core.h"

namespace kav::lzh {

template <unsigned size>
class SlidingWindow {
public:
    static_assert((size & (size - 1)) == 0, "positions wrap with a mask");

    explicit SlidingWindow(unsigned startPosition) : position_(startPosition) {
        bytes_.fill(Octet{0x20});
    }

    void PutLiteral(CodecDriver& driver, std::uint8_t byte) {
        bytes_[position_] = static_cast<Octet>(byte);
        position_ = (position_ + 1) & kMask;
        driver.WriteTargetByte(byte);
    }

    // Repeats `length` bytes from `distance` (1..size) bytes back. A match
    // may overlap the bytes it produces, so it is copied byte by byte.
    void CopyMatch(CodecDriver& driver, unsigned distance, unsigned length) {
        unsigned from = (position_ - distance) & kMask;
        unsigned to = position_;
        for (;;) {
            // Up to the driver's free room without its full-buffer check.
            const auto run =
                static_cast<unsigned>(std::min<std::size_t>(length, driver.TargetRoom()));
            for (unsigned k = 0; k < run; ++k) {
                const Octet byte = bytes_[from];
                from = (from + 1) & kMask;
                bytes_[to] = byte;
                to = (to + 1) & kMask;
                driver.WriteTargetByteInRoom(static_cast<std::uint8_t>(byte));
            }
            length -= run;
            if (length == 0) break;
            // The buffer is full: this byte makes the driver write it.
            const Octet byte = bytes_[from];
            from = (from + 1) & kMask;
            bytes_[to] = byte;
            to = (to + 1) & kMask;
            driver.WriteTargetByte(static_cast<std::uint8_t>(byte));
            --length;
        }
        position_ = to;
    }

private:
    static constexpr unsigned kMask = size - 1;
    std::array<Octet, size> bytes_;
    unsigned position_;
};

}  // namespace kav::lzh
