#pragma once
// Most-significant-bit-first input over the codec driver's byte source. The
// 64-bit buffer is topped up whenever fewer than 16 bits are left, so a
// decoder can look at the next 16 bits and consume up to 16 of them without
// a check of its own. A top-up takes whole bytes until at least 56 bits are
// held: with one word load straight from the driver's buffer while it has
// eight bytes, otherwise one at a time through ReadSourceByte, which refills
// the driver's buffer, reports progress and tells of missing data.
#include <cstddef>
#include <cstdint>
#include <cstring>

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
    using Word = std::uint64_t;
    static constexpr unsigned kWordBits = 64;

    explicit BitInput(CodecDriver& driver) : driver_(driver) { Refill(); }

    // The next 16 bits, the first of them in the most significant place.
    unsigned Peek16() const { return static_cast<unsigned>(buffer_ >> (kWordBits - 16)); }

    // The whole buffer, the next bit in the most significant place, and how
    // many of its bits are stream bits (at least 16).
    Word PeekWord() const { return buffer_; }
    unsigned BitsHeld() const { return count_; }

    // Consumes n bits, 0 <= n <= 32 and n <= BitsHeld().
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

    // The buffer and its count, for a decoder's inner loop that keeps them in
    // registers, consumes bits itself and tops them up with TopUp from the
    // driver's fetched bytes; Restore hands them back before any other call.
    struct State {
        Word buffer;
        unsigned count;
    };
    State Save() const { return {buffer_, count_}; }
    void Restore(State state) {
        buffer_ = state.buffer;
        count_ = state.count;
    }

    // Takes whole bytes from `next` (which must hold at least eight fetched
    // bytes) until at least 56 bits are held; none when that many are held
    // already, so an inner loop may call it for every symbol without a test.
    // The bits below the count that the word load brings in ahead of time
    // are those of the next byte; loading that byte again later ORs the
    // same bits into the same places.
    static void TopUp(State& state, const std::uint8_t*& next) {
        state.buffer |= LoadBigEndian(next) >> state.count;
        next += (kWordBits - 1 - state.count) / 8;
        // count + 8 x the bytes taken: 56..63.
        state.count |= kWordBits - 8;
    }

private:
    void Refill() {
        if (driver_.SourceBytesLeft() >= sizeof(Word) && !driver_.SourceExhausted()) {
            const std::uint8_t* const start = driver_.SourceBytes();
            const std::uint8_t* next = start;
            State state = Save();
            TopUp(state, next);
            Restore(state);
            driver_.SkipSourceBytes(static_cast<std::size_t>(next - start));
            return;
        }
        // The count stays below 64, so that a word load can shift by it.
        while (count_ < kWordBits - 8) {
            buffer_ |= static_cast<Word>(NextByte()) << (kWordBits - 8 - count_);
            count_ += 8;
        }
    }

    static Word LoadBigEndian(const std::uint8_t* bytes) {
        std::uint8_t b[sizeof(Word)];
        std::memcpy(b, bytes, sizeof b);
        Word word = 0;
        for (const std::uint8_t byte : b) word = (word << 8) | byte;
        return word;
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
