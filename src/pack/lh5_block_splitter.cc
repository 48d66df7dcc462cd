#include "pack/lh5_block_splitter.h"

#include <limits>

namespace kav::pack {

std::vector<std::size_t> CheapestBlockEnds(std::span<const Lh5Token> tokens,
                                           std::span<const std::size_t> candidates) {
    // Boundaries: 0, the candidates, the end; counts of the tokens before
    // each, so that any block's counts are a difference of two.
    std::vector<std::size_t> at{0};
    at.insert(at.end(), candidates.begin(), candidates.end());
    at.push_back(tokens.size());
    std::vector<Lh5Frequencies> before(at.size());
    for (std::size_t b = 1; b < at.size(); ++b) {
        before[b] = before[b - 1];
        for (std::size_t t = at[b - 1]; t < at[b]; ++t) before[b].Add(tokens[t]);
    }

    // Cheapest split of the tokens before each boundary, and where the last
    // block of that split starts.
    constexpr std::uint64_t kNone = std::numeric_limits<std::uint64_t>::max();
    std::vector<std::uint64_t> cost(at.size(), kNone);
    std::vector<std::size_t> from(at.size(), 0);
    cost[0] = 0;
    for (std::size_t j = 1; j < at.size(); ++j) {
        for (std::size_t i = j; i-- > 0;) {
            if (at[j] - at[i] > kLh5MaxBlockSymbols) break;
            if (cost[i] == kNone || at[i] == at[j]) continue;
            Lh5Frequencies block = before[j];
            block -= before[i];
            const std::uint64_t c = cost[i] + Lh5BlockBits(block);
            if (c < cost[j]) {
                cost[j] = c;
                from[j] = i;
            }
        }
    }
    std::vector<std::size_t> ends;
    for (std::size_t j = at.size() - 1; j > 0; j = from[j]) ends.push_back(at[j]);
    return {ends.rbegin(), ends.rend()};
}

}  // namespace kav::pack
