#pragma once
// One block of an LZH5 stream: its symbols and the code tables sent in
// front of them, written the way the decoder reads them back.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "pack/bit_writer.h"

namespace kav::pack {

inline constexpr unsigned kLh5Window = 8192;
inline constexpr unsigned kLh5MaxMatch = 256;
inline constexpr unsigned kLh5MinMatch = 3;
inline constexpr unsigned kLh5CharLenSymbols = 510;  // 256 literals + lengths 3..256
inline constexpr unsigned kLh5OffsetSymbols = 14;    // bit lengths of offsets 0..8191
// The block size field has 16 bits (0 would mean 65536).
inline constexpr std::size_t kLh5MaxBlockSymbols = 65535;

// A literal (symbol < 256) or a match of symbol - 253 bytes at `offset`
// (distance - 1).
struct Lh5Token {
    std::uint16_t symbol;
    std::uint16_t offset;

    static Lh5Token Literal(std::uint8_t byte) { return {byte, 0}; }
    static Lh5Token Copy(unsigned length, unsigned distance) {
        return {static_cast<std::uint16_t>(length + 253), static_cast<std::uint16_t>(distance - 1)};
    }
    bool IsMatch() const { return symbol > 255; }
    unsigned Length() const { return symbol - 253u; }
};

// The offset alphabet's symbol of an offset: its bit length.
inline unsigned OffsetSymbol(unsigned offset) {
    unsigned bits = 0;
    while (offset >> bits) ++bits;
    return bits;
}

// Symbol counts of a block.
struct Lh5Frequencies {
    std::uint32_t symbols = 0;
    std::array<std::uint32_t, kLh5CharLenSymbols> charLen{};
    std::array<std::uint32_t, kLh5OffsetSymbols> offset{};

    void Add(Lh5Token token);
    Lh5Frequencies& operator-=(const Lh5Frequencies& other);
};

// Bits a block with these counts takes: its size field, its code tables,
// its codes and the offsets' extra bits.
std::uint64_t Lh5BlockBits(const Lh5Frequencies& frequencies);

// Writes a block of 1..kLh5MaxBlockSymbols tokens with code tables made
// from their frequencies.
void WriteLh5Block(BitWriter& bits, std::span<const Lh5Token> tokens);

// Code lengths a block of these tokens would be sent with (0 for absent
// symbols), for parsers that price their choices.
struct Lh5CodeLengths {
    std::vector<std::uint8_t> charLen;
    std::vector<std::uint8_t> offset;
};
Lh5CodeLengths Lh5LengthsFor(std::span<const Lh5Token> tokens);

}  // namespace kav::pack
