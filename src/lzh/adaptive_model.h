#pragma once
// The adaptive Huffman model of coLZH data: a code tree over 314 symbols
// that the decoder updates after every symbol, as the encoder did, so that
// frequent symbols get ever shorter codes.
#include <array>
#include <cstdint>
#include <string>

namespace kav::lzh {

class AdaptiveModel {
public:
    static constexpr unsigned kSymbols = 314;  // 256 literals + match lengths 3..60
    static constexpr unsigned kNodes = 2 * kSymbols - 1;
    static constexpr unsigned kRoot = kNodes - 1;
    static constexpr std::uint16_t kRebuildWeight = 0x8000;

    AdaptiveModel();

    // Walks from the root to a leaf, taking one bit from `nextBit` per inner
    // node, updates the model and returns the leaf's symbol.
    template <typename NextBit>
    unsigned DecodeSymbol(NextBit&& nextBit) {
        unsigned node = child_[kRoot];
        while (node < kNodes) node = child_[node + nextBit()];
        const unsigned symbol = node - kNodes;
        Update(symbol);
        return symbol;
    }

    void Update(unsigned symbol);

    std::uint16_t RootWeight() const { return weight_[kRoot]; }

    // The current code of `symbol` as a string of '0' and '1', first bit
    // first: what an encoder in step with this model would send next.
    std::string CodeOf(unsigned symbol) const;

private:
    void Rebuild();

    // weight_ is non-decreasing along the node index; its last entry is a
    // sentinel above every real weight that ends the upward scans.
    std::array<std::uint16_t, kNodes + 1> weight_;
    // For an inner node: its children are child_ and child_ + 1. For a leaf:
    // kNodes + its symbol.
    std::array<std::uint16_t, kNodes> child_;
    // Entries below kNodes: the parent of each node; from kNodes on: the leaf
    // of each symbol.
    std::array<std::uint16_t, kNodes + kSymbols> parent_;
};

}  // namespace kav::lzh
