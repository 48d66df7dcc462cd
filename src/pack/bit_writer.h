#pragma once
// Writes bit fields most significant bit first, as the LZH decoders read
// them, buffering whole bytes before they go to the sink.
#include <array>
#include <cstdint>

#include "pack/byte_sink.h"

namespace kav::pack {

class BitWriter {
public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) {}
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    // Writes the low `count` (0..24) bits of `value`.
    void Put(unsigned count, std::uint32_t value) {
        accumulator_ = (accumulator_ << count) | (value & ((1u << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            buffer_[used_++] = static_cast<std::uint8_t>(accumulator_ >> pending_);
            if (used_ == buffer_.size()) Drain();
        }
    }

    // Pads the last byte with zero bits and hands everything to the sink.
    void Finish() {
        if (pending_ > 0) Put(8 - pending_, 0);
        Drain();
    }

    std::uint64_t BitsWritten() const { return written_ * 8 + used_ * 8 + pending_; }

private:
    void Drain() {
        sink_.Write(buffer_.data(), used_);
        written_ += used_;
        used_ = 0;
    }

    ByteSink& sink_;
    std::uint64_t accumulator_ = 0;
    unsigned pending_ = 0;
    std::array<std::uint8_t, 4096> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

}  // namespace kav::pack
