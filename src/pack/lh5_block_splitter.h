#pragma once
// Where to end the blocks of an LZH5 stream: every block carries its own
// code tables, so a boundary pays where the symbol statistics change by
// more than a new set of tables costs.
#include <cstddef>
#include <span>
#include <vector>

#include "pack/lh5_block.h"

namespace kav::pack {

// Of the token indices in `candidates` (rising, each within 1..size-1),
// picks those at which to start a new block so that the blocks of `tokens`
// together take the fewest bits, with at most kLh5MaxBlockSymbols tokens
// each. Returns the end of every block, the last being tokens.size().
std::vector<std::size_t> CheapestBlockEnds(std::span<const Lh5Token> tokens,
                                           std::span<const std::size_t> candidates);

}  // namespace kav::pack
