#pragma once
// Writes bit fields most significant bit first, as the LZH decoders read
// them, buffering whole bytes before they go to the sink.
#include <cstdint>

#include "pack/byte_sink.h"

namespace kav::pack {

class BitWriter {
public:
    explicit BitWriter(ByteSink& sink) : output_(sink) {}
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    // Writes the low `count` (0..24) bits of `value`.
    void Put(unsigned count, std::uint32_t value) {
        accumulator_ = (accumulator_ << count) | (value & ((1u << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            output_.Put(static_cast<std::uint8_t>(accumulator_ >> pending_));
        }
    }

    // Pads the last byte with zero bits and hands everything to the sink.
    void Finish() {
        if (pending_ > 0) Put(8 - pending_, 0);
        output_.Drain();
    }

private:
    BufferedOutput output_;
    std::uint64_t accumulator_ = 0;
    unsigned pending_ = 0;
};

}  // namespace kav::pack
