#pragma once
// Cost-driven parsing for LZH5 blocks: every match the chains offer at
// every position is priced with the code lengths the block itself will be
// sent with, and the cheapest path through the block is taken. The prices
// come from the block's own statistics, refined over a few passes, and the
// block boundaries are moved to where they save the most bits.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "pack/lh5_block.h"
#include "pack/match_window.h"

namespace kav::pack {

class Lh5OptimalParser {
public:
    using Window = MatchWindow<kLh5Window, kLh5MaxMatch>;
    using BlockSink = std::function<void(std::span<const Lh5Token>)>;

    // Parses the input from the window's position up to `end` (at most one
    // chunk of the window), advances the window to `end` and hands each
    // block's tokens to `write`, in order.
    void Parse(Window& window, std::uint32_t end, const BlockSink& write);

private:
    struct Prices {
        std::vector<std::uint32_t> charLen;  // bits per character/length symbol
        std::vector<std::uint32_t> offset;   // bits per offset symbol, extra bits included
    };
    // A block's input bytes [begin, end) relative to the chunk, and its tokens.
    struct Block {
        std::uint32_t begin;
        std::uint32_t end;
        std::vector<Lh5Token> tokens;
    };

    void CollectMatches(Window& window, std::uint32_t count);
    std::vector<Lh5Token> CheapestPath(const std::uint8_t* chunk, std::uint32_t begin,
                                       std::uint32_t end, const Prices& prices);
    std::vector<Lh5Token> LongestFirst(const std::uint8_t* chunk, std::uint32_t begin,
                                       std::uint32_t end);
    void Reparse(const std::uint8_t* chunk, Block& block, int passes);
    std::vector<Block> Resplit(const std::vector<Block>& blocks);
    static Prices PricesFor(const Lh5CodeLengths& lengths);
    static std::uint64_t Bits(const std::vector<Block>& blocks);

    // Matches found at each position of the chunk: those of position i are
    // matches_[first_[i] .. first_[i + 1]), by rising length.
    std::vector<std::uint32_t> first_;
    std::vector<Match> matches_;
    std::vector<std::uint32_t> cost_;
    std::vector<Lh5Token> step_;  // the token that reaches each position
};

}  // namespace kav::pack
