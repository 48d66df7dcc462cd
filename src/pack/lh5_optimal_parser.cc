#include "pack/lh5_optimal_parser.h"

#include <algorithm>
#include <limits>

#include "pack/lh5_block_splitter.h"

namespace kav::pack {
namespace {

// Input bytes per block before the boundaries are moved: even all
// literals stay within the block size field.
constexpr std::uint32_t kBlockBytes = 32768;
constexpr unsigned kMaxChain = 1024;
// A match this long is taken as it is; the positions it covers are not
// searched.
constexpr unsigned kNiceLength = 256;
// Pricing passes after the first, longest-match-first estimate.
constexpr int kPasses = 2;
// Rounds of moving the block boundaries and parsing the new blocks again,
// and the pricing passes of each.
constexpr int kSplitRounds = 2;
constexpr int kResplitPasses = 2;
// Bytes between the places where a block may end.
constexpr std::uint32_t kSplitGrid = 2048;
// Lengths priced at each end of a match's range (see CheapestPath).
constexpr unsigned kLengthsPriced = 16;
constexpr std::uint32_t kUnreachable = std::numeric_limits<std::uint32_t>::max();

}  // namespace

void Lh5OptimalParser::Parse(Window& window, std::uint32_t end, const BlockSink& write) {
    const std::uint32_t start = window.Position();
    const std::uint32_t count = end - start;
    CollectMatches(window, count);
    const std::uint8_t* chunk = window.At(start);
    std::vector<Block> blocks;
    for (std::uint32_t begin = 0; begin < count; begin += kBlockBytes) {
        Block block{begin, std::min(count, begin + kBlockBytes), {}};
        block.tokens = LongestFirst(chunk, block.begin, block.end);
        Reparse(chunk, block, kPasses);
        blocks.push_back(std::move(block));
    }
    std::uint64_t bits = Bits(blocks);
    for (int round = 0; round < kSplitRounds; ++round) {
        std::vector<Block> next = Resplit(blocks);
        for (auto& block : next) Reparse(chunk, block, kResplitPasses);
        const std::uint64_t nextBits = Bits(next);
        if (nextBits >= bits) break;
        blocks = std::move(next);
        bits = nextBits;
    }
    window.Advance(count);
    for (const auto& block : blocks) write(block.tokens);
}

void Lh5OptimalParser::CollectMatches(Window& window, std::uint32_t count) {
    const std::uint32_t start = window.Position();
    first_.assign(count + 1, 0);
    matches_.clear();
    // The last long match taken as it is: the positions it covers get its
    // remainder as their only match.
    Match covering;
    std::uint32_t coveringFrom = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        first_[i] = static_cast<std::uint32_t>(matches_.size());
        const std::uint32_t p = start + i;
        if (i >= coveringFrom + covering.length) {
            const unsigned room = std::min<unsigned>(kLh5MaxMatch, count - i);
            window.ForEachLonger(p, room, kMaxChain, kNiceLength,
                                 [&](unsigned length, unsigned distance) {
                                     matches_.push_back({length, distance});
                                 });
            if (matches_.size() > first_[i] && matches_.back().length >= kNiceLength) {
                covering = matches_.back();
                coveringFrom = i;
            }
        } else if (coveringFrom + covering.length - i >= kLh5MinMatch) {
            matches_.push_back({coveringFrom + covering.length - i, covering.distance});
        }
        window.Insert(p);
    }
    first_[count] = static_cast<std::uint32_t>(matches_.size());
}

std::vector<Lh5Token> Lh5OptimalParser::LongestFirst(const std::uint8_t* chunk, std::uint32_t begin,
                                                     std::uint32_t end) {
    std::vector<Lh5Token> tokens;
    for (std::uint32_t i = begin; i < end;) {
        const unsigned room = std::min<unsigned>(kLh5MaxMatch, end - i);
        if (first_[i + 1] > first_[i] && room >= kLh5MinMatch) {
            const Match& m = matches_[first_[i + 1] - 1];
            const unsigned length = std::min(m.length, room);
            tokens.push_back(Lh5Token::Copy(length, m.distance));
            i += length;
        } else {
            tokens.push_back(Lh5Token::Literal(chunk[i]));
            ++i;
        }
    }
    return tokens;
}

Lh5OptimalParser::Prices Lh5OptimalParser::PricesFor(const Lh5CodeLengths& lengths) {
    // Symbols the estimate did not use get a price a little above the
    // longest used code, so that the path can still take them.
    auto price = [](const std::vector<std::uint8_t>& bits, unsigned fallback) {
        unsigned longest = 0;
        for (auto b : bits) longest = std::max<unsigned>(longest, b);
        std::vector<std::uint32_t> prices(bits.size());
        for (std::size_t s = 0; s < bits.size(); ++s) {
            prices[s] = bits[s] ? bits[s] : std::max(longest + 1, fallback);
        }
        return prices;
    };
    Prices p{price(lengths.charLen, 9), price(lengths.offset, 4)};
    for (unsigned s = 2; s < p.offset.size(); ++s) p.offset[s] += s - 1;
    return p;
}

void Lh5OptimalParser::Reparse(const std::uint8_t* chunk, Block& block, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        block.tokens =
            CheapestPath(chunk, block.begin, block.end, PricesFor(Lh5LengthsFor(block.tokens)));
    }
}

std::vector<Lh5OptimalParser::Block> Lh5OptimalParser::Resplit(const std::vector<Block>& blocks) {
    // All tokens of the chunk, and as candidate block starts the first
    // token at or after each grid point.
    std::vector<Lh5Token> tokens;
    std::vector<std::uint32_t> tokenStart;
    std::vector<std::size_t> candidates;
    std::uint32_t at = blocks.front().begin;
    std::uint32_t nextGrid = at + kSplitGrid;
    for (const auto& block : blocks) {
        for (const auto& t : block.tokens) {
            if (at >= nextGrid) {
                candidates.push_back(tokens.size());
                nextGrid = (at / kSplitGrid + 1) * kSplitGrid;
            }
            tokens.push_back(t);
            tokenStart.push_back(at);
            at += t.IsMatch() ? t.Length() : 1;
        }
    }
    const std::vector<std::size_t> ends = CheapestBlockEnds(tokens, candidates);
    std::vector<Block> next;
    std::size_t from = 0;
    for (const std::size_t to : ends) {
        const std::uint32_t blockEnd = to < tokens.size() ? tokenStart[to] : at;
        next.push_back({tokenStart[from], blockEnd, {tokens.begin() + from, tokens.begin() + to}});
        from = to;
    }
    return next;
}

std::uint64_t Lh5OptimalParser::Bits(const std::vector<Block>& blocks) {
    std::uint64_t bits = 0;
    for (const auto& block : blocks) {
        Lh5Frequencies f;
        for (const auto& t : block.tokens) f.Add(t);
        bits += Lh5BlockBits(f);
    }
    return bits;
}

std::vector<Lh5Token> Lh5OptimalParser::CheapestPath(const std::uint8_t* chunk, std::uint32_t begin,
                                                     std::uint32_t end, const Prices& prices) {
    const std::uint32_t count = end - begin;
    cost_.assign(count + 1, kUnreachable);
    step_.assign(count + 1, Lh5Token{0, 0});
    cost_[0] = 0;
    const std::uint8_t* bytes = chunk + begin;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t here = cost_[i];
        const std::uint32_t literal = here + prices.charLen[bytes[i]];
        if (literal < cost_[i + 1]) {
            cost_[i + 1] = literal;
            step_[i + 1] = Lh5Token::Literal(bytes[i]);
        }
        const unsigned room = std::min<unsigned>(kLh5MaxMatch, count - i);
        unsigned shorter = kLh5MinMatch - 1;
        for (std::uint32_t k = first_[begin + i]; k < first_[begin + i + 1]; ++k) {
            const Match& m = matches_[k];
            const unsigned longest = std::min(m.length, room);
            const std::uint32_t withOffset = here + prices.offset[OffsetSymbol(m.distance - 1)];
            // Of a long match only its shortest and longest lengths are
            // priced: the ones between rarely lead anywhere cheaper, and
            // pricing them all would make runs of long matches quadratic.
            for (unsigned length = shorter + 1; length <= longest; ++length) {
                if (length == shorter + 1 + kLengthsPriced && longest > length + kLengthsPriced) {
                    length = longest - kLengthsPriced;
                }
                const std::uint32_t c = withOffset + prices.charLen[length + 253];
                if (c < cost_[i + length]) {
                    cost_[i + length] = c;
                    step_[i + length] = Lh5Token::Copy(length, m.distance);
                }
            }
            shorter = std::max(shorter, longest);
        }
    }
    std::vector<Lh5Token> tokens;
    for (std::uint32_t at = count; at > 0;) {
        const Lh5Token t = step_[at];
        tokens.push_back(t);
        at -= t.IsMatch() ? t.Length() : 1;
    }
    std::reverse(tokens.begin(), tokens.end());
    return tokens;
}

}  // namespace kav::pack
