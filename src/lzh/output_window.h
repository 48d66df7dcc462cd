#pragma once
// The dictionary and output buffer of the LZ decoders in one: the last
// `history` output bytes (spaces at the start) followed by the block being
// filled. Literals and matches are stored once, where they are both output
// and dictionary, and the driver receives whole blocks. When more than a
// block has been produced, the block is written and the bytes after it move
// down behind the new history, so that a match never has to wrap.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lzh/codec_driver_core.h"

namespace kav::lzh {

template <unsigned history, unsigned longestMatch>
class OutputWindow {
public:
    static constexpr std::size_t kBlock = CodecDriver::kBufferSize;
    // A match symbol minus this is the match's length.
    static constexpr unsigned kLengthBias = 253;

    OutputWindow() {
        std::fill_n(bytes_.begin(), history, Octet{0x20});
        next_ = bytes_.data() + history;
    }
    OutputWindow(const OutputWindow&) = delete;
    OutputWindow& operator=(const OutputWindow&) = delete;

    void PutLiteral(std::uint8_t byte) { *next_++ = static_cast<Octet>(byte); }

    // What a symbol of either LZ code stands for: 0..255 a literal, above
    // that a match of symbol - 253 bytes whose distance `decodeDistance`
    // reads. Returns the number of bytes written.
    template <typename DecodeDistance>
    unsigned PutSymbol(unsigned symbol, DecodeDistance&& decodeDistance) {
        if (symbol <= 0xFF) {
            PutLiteral(static_cast<std::uint8_t>(symbol));
            return 1;
        }
        const unsigned length = symbol - kLengthBias;
        CopyMatch(decodeDistance(), length);
        return length;
    }

    // Repeats `length` (<= longestMatch) bytes from `distance` (1..history)
    // bytes back. A match may overlap the bytes it produces.
    void CopyMatch(unsigned distance, unsigned length) {
        next_ = CopyMatchAt(next_, distance, length);
    }

    // CopyMatch for an inner loop that keeps the write position in a
    // register (see Position and MoveTo): returns the position after the match.
    static Octet* CopyMatchAt(Octet* to, unsigned distance, unsigned length) {
        const Octet* from = to - distance;
        Octet* const end = to + length;
        if (distance >= kWord) {
            // Every word read lies before the one being written; the last
            // word may run past the match into the spare room.
            do {
                std::memcpy(to, from, kWord);
                to += kWord;
                from += kWord;
            } while (to < end);
        } else if (distance == 1) {
            std::memset(to, static_cast<int>(from[0]), length);
        } else {
            for (; to < end; ++to, ++from) *to = *from;
        }
        return end;
    }

    // Takes back the last `count` bytes put, which must all lie after the
    // last block written.
    void TakeBack(std::size_t count) { next_ -= count; }

    Octet* Position() const { return next_; }
    void MoveTo(Octet* next) { next_ = next; }
    // The last position of the block: output beyond it makes it overfull.
    const Octet* BlockEnd() const { return bytes_.data() + history + kBlock; }

    // After each symbol: true when the block is full and more output has
    // begun, which is when the driver's own buffer would be written.
    bool BlockOverfull() const { return next_ > BlockEnd(); }

    void WriteBlock(CodecDriver& driver) {
        driver.WriteFullBlock(bytes_.data() + history);
        Octet* const keepFrom = bytes_.data() + kBlock;
        std::memmove(bytes_.data(), keepFrom, static_cast<std::size_t>(next_ - keepFrom));
        next_ -= kBlock;
    }

    // Hands the bytes of the last block to the driver for its final write.
    void Finish(CodecDriver& driver) {
        driver.KeepLastBytes(bytes_.data() + history,
                             static_cast<std::size_t>(next_ - (bytes_.data() + history)));
    }

private:
    static constexpr std::size_t kWord = 8;
    // A block may be followed by one whole match, whose last word copy may
    // reach kWord - 1 bytes further.
    std::array<Octet, history + kBlock + longestMatch + kWord> bytes_;
    Octet* next_;
};

}  // namespace kav::lzh
