#pragma once
// Cost-driven parsing for LZH5 blocks: every match the chains offer at
// every position is priced with the code lengths the block itself will be
// sent with, and the cheapest path through the block is taken. The prices
// come from the block's own statistics, refined over a few passes.
#include <cstdint>
#include <vector>

#include "pack/lh5_block.h"
#include "pack/match_window.h"

namespace kav::pack {

class Lh5OptimalParser {
public:
    using Window = MatchWindow<kLh5Window, kLh5MaxMatch>;

    // Parses one block's worth of input from the window's position (at most
    // up to `end`), advances the window past it and returns its tokens.
    std::vector<Lh5Token> Parse(Window& window, std::uint32_t end);

private:
    struct Prices {
        std::vector<std::uint32_t> charLen;  // bits per character/length symbol
        std::vector<std::uint32_t> offset;   // bits per offset symbol, extra bits included
    };

    void CollectMatches(Window& window, std::uint32_t count);
    std::vector<Lh5Token> CheapestPath(const Window& window, std::uint32_t start,
                                       std::uint32_t count, const Prices& prices);
    std::vector<Lh5Token> LongestFirst(const Window& window, std::uint32_t start,
                                       std::uint32_t count);
    static Prices PricesFor(const Lh5CodeLengths& lengths);

    // Matches found at each position of the block: those of position i are
    // matches_[first_[i] .. first_[i + 1]), by rising length.
    std::vector<std::uint32_t> first_;
    std::vector<Match> matches_;
    std::vector<std::uint32_t> cost_;
    std::vector<Lh5Token> step_;  // the token that reaches each position
};

}  // namespace kav::pack
