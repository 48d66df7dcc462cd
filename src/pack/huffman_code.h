#pragma once
// Canonical Huffman codes as the LZH5 decoder rebuilds them: lengths of at
// most 16 bits that fill the code space exactly, and codes assigned in
// symbol order within each length, shorter codes first.
#include <cstdint>
#include <span>
#include <vector>

namespace kav::pack {

inline constexpr unsigned kMaxCodeBits = 16;

// Code lengths (0 for unused symbols) for the frequencies, no longer than
// `maxBits`. With fewer than two used symbols every length is 0: such an
// alphabet is sent in the single-symbol form, which fills no code space.
std::vector<std::uint8_t> CodeLengths(std::span<const std::uint32_t> frequencies,
                                      unsigned maxBits = kMaxCodeBits);

// The codes of the lengths, low bits aligned, as the decoder assigns them.
std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths);

// Number of symbols with a non-zero frequency, and the last of them.
struct UsedSymbols {
    unsigned count = 0;
    unsigned last = 0;
};
UsedSymbols CountUsed(std::span<const std::uint32_t> frequencies);

}  // namespace kav::pack
