#pragma once
// Lookup tables for the canonical Huffman codes of LZH5 blocks: codes no
// longer than the table width are found with one lookup of the next
// tableBits bits, which also gives the code's length; longer codes continue
// through a binary overflow tree.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kav::lzh {

inline constexpr unsigned kMaxCodeLength = 16;

// Child links of the overflow trees. Node numbers start at the alphabet
// size, so any value at or above it is a node, and a complete code over n
// symbols needs fewer than n nodes: 2 x 510 - 1 entries serve the largest
// alphabet.
struct DecodeTree {
    static constexpr std::size_t kNodes = 2 * 510 - 1;
    std::array<std::uint16_t, kNodes> left;
    std::array<std::uint16_t, kNodes> right;
};

// A table entry: a symbol or tree node above the low 4 bits, and for a
// symbol the length of its code in them (at most the table width, 12); a
// node (at or above the alphabet size) has length 0 there, its symbol's
// length is looked up after the walk. 16 bits keep the tables small.
using TableEntry = std::uint16_t;
inline constexpr unsigned kEntryValueShift = 4;

constexpr TableEntry MakeTableEntry(unsigned value, unsigned length) {
    return static_cast<TableEntry>((value << kEntryValueShift) | length);
}
constexpr unsigned EntryValue(TableEntry entry) { return entry >> kEntryValueShift; }
constexpr unsigned EntryLength(TableEntry entry) { return entry & ((1u << kEntryValueShift) - 1); }

// Fills `table` (2^tableBits entries) and the tree nodes from `lengths`
// (one code length 0..16 per symbol, 0 = absent). Throws ELZHBadDecodeTable
// unless the lengths fill the code space exactly once, so that every table
// entry and every tree node reached by a lookup has been written.
void MakeDecodeTable(std::span<const std::uint8_t> lengths, unsigned tableBits,
                     std::span<TableEntry> table, DecodeTree& tree);

}  // namespace kav::lzh
