#include "lzh/decode_table.h"

#include <algorithm>

#include "lzh/codec_driver.h"

namespace kav::lzh {

void MakeDecodeTable(std::span<const std::uint8_t> lengths, unsigned tableBits,
                     std::span<TableEntry> table, DecodeTree& tree) {
    const auto symbols = static_cast<std::uint32_t>(lengths.size());
    std::array<std::uint32_t, kMaxCodeLength + 1> count{};
    for (const std::uint8_t len : lengths) {
        if (len > kMaxCodeLength) throw ELZHBadDecodeTable();
        ++count[len];
    }

    // The code space is counted in units of 2^-16. A sum other than exactly
    // one whole space is refused: an over-full list would write past the
    // table, and an empty or under-full one would leave entries that a lookup
    // could reach unset.
    std::array<std::uint32_t, kMaxCodeLength + 2> start{};
    std::array<std::uint32_t, kMaxCodeLength + 1> weight{};
    for (unsigned i = 1; i <= kMaxCodeLength; ++i) {
        weight[i] = 1u << (kMaxCodeLength - i);
        start[i + 1] = start[i] + count[i] * weight[i];
    }
    if (start[kMaxCodeLength + 1] != (1u << kMaxCodeLength)) throw ELZHBadDecodeTable();

    const unsigned jut = kMaxCodeLength - tableBits;
    for (unsigned i = 1; i <= tableBits; ++i) {
        start[i] >>= jut;
        weight[i] >>= jut;
    }
    const std::uint32_t tableSize = 1u << tableBits;
    // Entries from here on are roots of overflow trees; 0 marks a root not
    // yet created (symbol 0 cannot sit there, its code would be a prefix).
    for (std::uint32_t i = start[tableBits + 1] >> jut; i < tableSize; ++i) table[i] = 0;

    std::uint32_t avail = symbols;
    for (std::uint32_t ch = 0; ch < symbols; ++ch) {
        const unsigned len = lengths[ch];
        if (len == 0) continue;
        const std::uint32_t next = start[len] + weight[len];
        if (len <= tableBits) {
            std::fill(table.begin() + start[len], table.begin() + next, MakeTableEntry(ch, len));
        } else {
            std::uint32_t k = start[len];
            TableEntry& root = table[k >> jut];
            if (root == 0) {
                if (avail >= DecodeTree::kNodes) throw ELZHBadDecodeTable();
                tree.left[avail] = 0;
                tree.right[avail] = 0;
                root = MakeTableEntry(avail++, 0);
            }
            std::uint16_t* slot = nullptr;
            std::uint32_t node = EntryValue(root);
            for (unsigned depth = len - tableBits; depth > 0; --depth) {
                if (slot != nullptr) {
                    if (*slot == 0) {
                        if (avail >= DecodeTree::kNodes) throw ELZHBadDecodeTable();
                        tree.left[avail] = 0;
                        tree.right[avail] = 0;
                        *slot = static_cast<std::uint16_t>(avail++);
                    }
                    node = *slot;
                }
                const bool right = (k & (1u << (kMaxCodeLength - 1 - tableBits))) != 0;
                slot = right ? &tree.right[node] : &tree.left[node];
                k <<= 1;
            }
            *slot = static_cast<std::uint16_t>(ch);
        }
        start[len] = next;
    }
}

}  // namespace kav::lzh
