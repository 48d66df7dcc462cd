#pragma once
// Most-significant-bit-first input over the codec driver's byte source. The
// buffer is refilled a byte at a time through the inline ReadSourceByte and
// always holds at least 16 unread bits, so a decoder can look at the next
// 16 bits and consume up to 16 of them without a check of its own.
#include <cstddef>
#include <cstdint>

#include "lzh/codec_driver_core.h"

namespace kav::lzh {

// What the bit input does once the driver reports the source exhausted.
enum class ExhaustedSource {
    kStopAsking,  // supply zero bits and never ask the source again
    kAskAgain,    // keep asking; a byte that comes while the flag is set reads as 0
};

template <ExhaustedSource rule>
class BitInput {
public:
    explicit BitInput(CodecDriver& driver) : driver_(driver) { Refill(); }

    // The next 16 bits, the first of them in the most significant place.
    unsigned Peek16() const { return static_cast<unsigned>(buffer_ >> (kWordBits - 16)); }

    // Consumes n bits, 0 <= n <= 16.
    void Skip(unsigned n) {
        buffer_ <<= n;
        count_ -= n;
        if (count_ < 16) Refill();
    }

    // Consumes n bits, 0 <= n <= 16, and returns them.
    unsigned Get(unsigned n) {
        if (n == 0) return 0;
        const auto value = static_cast<unsigned>(buffer_ >> (kWordBits - n));
        Skip(n);
        return value;
    }

private:
    using Word = std::size_t;
    static constexpr unsigned kWordBits = sizeof(Word) * 8;

    void Refill() {
        while (count_ <= kWordBits - 8) {
            buffer_ |= static_cast<Word>(NextByte()) << (kWordBits - 8 - count_);
            count_ += 8;
        }
    }

    std::uint8_t NextByte() {
        if constexpr (rule == ExhaustedSource::kStopAsking) {
            if (!driver_.SourceExhausted()) {
                const std::uint8_t byte = driver_.ReadSourceByte();
                if (!driver_.SourceExhausted()) return byte;
            }
        } else {
            const std::uint8_t byte = driver_.ReadSourceByte();
            if (!driver_.SourceExhausted()) return byte;
        }
        driver_.CountMissingByte();
        return 0;
    }

    CodecDriver& driver_;
    Word buffer_ = 0;
    unsigned count_ = 0;
};

}  // namespace kav::lzh
