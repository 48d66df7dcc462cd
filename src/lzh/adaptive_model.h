#pragma once
// The adaptive Huffman model of coLZH data: a code tree over 314 symbols
// that the decoder updates after every symbol, as the encoder did, so that
// frequent symbols get ever shorter codes.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace kav::lzh {

class AdaptiveModel {
public:
    static constexpr unsigned kSymbols = 314;  // 256 literals + match lengths 3..60
    static constexpr unsigned kNodes = 2 * kSymbols - 1;
    static constexpr unsigned kRoot = kNodes - 1;
    static constexpr std::uint16_t kRebuildWeight = 0x8000;

    AdaptiveModel();

    // Walks from the root to a leaf by the bits of `bits` (a BitInput),
    // one per inner node, updates the model and returns the leaf's symbol.
    // The first steps come from the lookup of the top of the tree, the rest
    // are taken from the input's word and consumed together.
    template <typename BitSource>
    unsigned DecodeSymbol(BitSource& bits) {
        // The nodes passed are noted, so that the update can climb back
        // without following the parent links while no node moves.
        auto word = bits.PeekWord();
        constexpr unsigned kWordBits = sizeof(word) * 8;
        const TopStep& top = TopStepFor(static_cast<unsigned>(word >> (kWordBits - kTopBits)));
        path_[0] = kRoot;
        std::memcpy(&path_[1], top.path.data(), sizeof top.path);
        unsigned depth = top.bits;
        unsigned node = top.node;
        bits.Skip(depth);
        while (node < kNodes) {
            word = bits.PeekWord();
            const unsigned held = bits.BitsHeld() < 32 ? bits.BitsHeld() : 32;
            unsigned used = 0;
            while (node < kNodes && used < held) {
                const unsigned position = node + static_cast<unsigned>(word >> (kWordBits - 1));
                path_[++depth] = static_cast<std::uint16_t>(position);
                node = child_[position];
                word <<= 1;
                ++used;
            }
            bits.Skip(used);
        }
        const unsigned symbol = node - kNodes;
        UpdateAlongPath(symbol, depth);
        return symbol;
    }

    void Update(unsigned symbol);

    std::uint16_t RootWeight() const { return weight_[kRoot]; }

    // The current code of `symbol` as a string of '0' and '1', first bit
    // first: what an encoder in step with this model would send next.
    std::string CodeOf(unsigned symbol) const;

private:
    // Update for the symbol whose leaf DecodeSymbol has just reached through
    // path_[0..depth].
    void UpdateAlongPath(unsigned symbol, unsigned depth) {
        if (weight_[kRoot] == kRebuildWeight) [[unlikely]] {
            // The rebuilt tree has other paths.
            Update(symbol);
            return;
        }
        // The parent of each node on the path is the one before it, also
        // after the node has moved next to a sibling; after a move elsewhere
        // the parent links lead on. (A node never moves past its parent or
        // any node above it: those weigh at least as much as it now does.)
        for (unsigned i = depth; i > 0; --i) {
            const unsigned x = path_[i];
            const unsigned moved = Increment(x);
            if (moved != x && parent_[moved] != path_[i - 1]) [[unlikely]] {
                IncrementUpFrom(parent_[moved]);
                return;
            }
        }
        Increment(kRoot);
    }

    // The first steps from the root for every value of the next kTopBits
    // bits: the node reached (a leaf, or the inner node to go on from), the
    // bits used and the positions passed. A step is made when first needed
    // and kept until a node moves at a position it passed; the nodes that
    // move are mostly light ones, far from the root, which few steps pass.
    static constexpr unsigned kTopBits = 6;
    struct TopStep {
        std::array<std::uint16_t, kTopBits> path;
        std::uint16_t node;
        std::uint8_t bits;
        bool made;
    };
    const TopStep& TopStepFor(unsigned topBits) {
        TopStep& step = topSteps_[topBits];
        if (!step.made) [[unlikely]]
            MakeTopStep(step, topBits);
        return step;
    }
    void MakeTopStep(TopStep& step, unsigned topBits);
    // Called after the children of `position` have changed: steps that
    // ended there take the new children, steps that went on below are made
    // again when next needed.
    void FollowMovedChildren(unsigned position) {
        const unsigned count = passedCount_[position];
        if (count == 0) return;
        const unsigned first = passedFirst_[position];
        // count = 2^(kTopBits - the bits that lead to the position).
        const unsigned bits = kTopBits - static_cast<unsigned>(std::countr_zero(count));
        for (unsigned i = first; i < first + count; ++i) {
            TopStep& step = topSteps_[i];
            // The range may be out of date; only steps that pass it count.
            if (!step.made || step.bits < bits || step.path[bits - 1] != position) continue;
            if (step.bits == bits) {
                step.node = child_[position];
            } else {
                step.made = false;
            }
        }
    }
    void ForgetTopSteps();

    // Adds 1 to the weight of the node at position x, moving it if need be
    // (see MoveBehindLighter); returns its position afterwards.
    unsigned Increment(unsigned x) {
        const auto k = static_cast<std::uint16_t>(weight_[x] + 1);
        weight_[x] = k;
        return k > weight_[x + 1] ? MoveBehindLighter(x, k) : x;
    }
    // For a node at position x whose weight has just become k, heavier than
    // the node after it: swaps it with the last node lighter than k, so that
    // the weights stay in order; returns its new position.
    unsigned MoveBehindLighter(unsigned x, std::uint16_t k);
    // Increment from x up to the root, following the parent links.
    void IncrementUpFrom(unsigned x);
    void Rebuild();

    // weight_ is non-decreasing along the node index; its last entries are a
    // sentinel above every real weight that ends the upward scans, and room
    // for a scan's last four-weight load.
    std::array<std::uint16_t, kNodes + 4> weight_;
    // For an inner node: its children are child_ and child_ + 1. For a leaf:
    // kNodes + its symbol.
    std::array<std::uint16_t, kNodes> child_;
    // Entries below kNodes: the parent of each node; from kNodes on: the leaf
    // of each symbol.
    std::array<std::uint16_t, kNodes + kSymbols> parent_;
    // The positions DecodeSymbol passed, root first (and room for a whole
    // top step's copy).
    std::array<std::uint16_t, kNodes + kTopBits> path_;
    std::array<TopStep, 1u << kTopBits> topSteps_{};
    // For each position, the steps that passed it when they were made: the
    // values of the top bits that share the bits up to it form a range. A
    // count of 0: no step has passed it since the tree was built. After a
    // move above the position the range may be out of date, and the steps
    // in it are checked; while a step that passes the position is kept, the
    // range is right, as every step made since then took the same way.
    std::array<std::uint16_t, kNodes> passedFirst_{};
    std::array<std::uint16_t, kNodes> passedCount_{};
};

}  // namespace kav::lzh
