#include "pack/lh5_optimal_parser.h"

#include <algorithm>
#include <limits>

namespace kav::pack {
namespace {

// Input bytes per block: even all literals stay within the block size field.
constexpr std::uint32_t kBlockBytes = 32768;
constexpr unsigned kMaxChain = 1024;
// A match this long is taken as it is; the positions it covers are not
// searched.
constexpr unsigned kNiceLength = 256;
// Pricing passes after the first, longest-match-first estimate.
constexpr int kPasses = 2;
// Lengths priced at each end of a match's range (see CheapestPath).
constexpr unsigned kLengthsPriced = 16;
constexpr std::uint32_t kUnreachable = std::numeric_limits<std::uint32_t>::max();

}  // namespace

std::vector<Lh5Token> Lh5OptimalParser::Parse(Window& window, std::uint32_t end) {
    const std::uint32_t start = window.Position();
    const std::uint32_t count = std::min(end - start, kBlockBytes);
    CollectMatches(window, count);
    std::vector<Lh5Token> tokens = LongestFirst(window, start, count);
    for (int pass = 0; pass < kPasses; ++pass) {
        tokens = CheapestPath(window, start, count, PricesFor(Lh5LengthsFor(tokens)));
    }
    window.Advance(count);
    return tokens;
}

void Lh5OptimalParser::CollectMatches(Window& window, std::uint32_t count) {
    const std::uint32_t start = window.Position();
    first_.assign(count + 1, 0);
    matches_.clear();
    std::uint32_t coveredUntil = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        first_[i] = static_cast<std::uint32_t>(matches_.size());
        const std::uint32_t p = start + i;
        if (i >= coveredUntil) {
            const unsigned room = std::min<unsigned>(kLh5MaxMatch, count - i);
            window.ForEachLonger(p, room, kMaxChain, kNiceLength,
                                 [&](unsigned length, unsigned distance) {
                                     matches_.push_back({length, distance});
                                 });
            if (matches_.size() > first_[i] && matches_.back().length >= kNiceLength) {
                coveredUntil = i + matches_.back().length;
            }
        }
        window.Insert(p);
    }
    first_[count] = static_cast<std::uint32_t>(matches_.size());
}

std::vector<Lh5Token> Lh5OptimalParser::LongestFirst(const Window& window, std::uint32_t start,
                                                     std::uint32_t count) {
    std::vector<Lh5Token> tokens;
    for (std::uint32_t i = 0; i < count;) {
        if (first_[i + 1] > first_[i]) {
            const Match& m = matches_[first_[i + 1] - 1];
            tokens.push_back(Lh5Token::Copy(m.length, m.distance));
            i += m.length;
        } else {
            tokens.push_back(Lh5Token::Literal(*window.At(start + i)));
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

std::vector<Lh5Token> Lh5OptimalParser::CheapestPath(const Window& window, std::uint32_t start,
                                                     std::uint32_t count, const Prices& prices) {
    cost_.assign(count + 1, kUnreachable);
    step_.assign(count + 1, Lh5Token{0, 0});
    cost_[0] = 0;
    const std::uint8_t* bytes = window.At(start);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t here = cost_[i];
        const std::uint32_t literal = here + prices.charLen[bytes[i]];
        if (literal < cost_[i + 1]) {
            cost_[i + 1] = literal;
            step_[i + 1] = Lh5Token::Literal(bytes[i]);
        }
        unsigned shorter = kLh5MinMatch - 1;
        for (std::uint32_t k = first_[i]; k < first_[i + 1]; ++k) {
            const Match& m = matches_[k];
            const std::uint32_t withOffset = here + prices.offset[OffsetSymbol(m.distance - 1)];
            // Of a long match only its shortest and longest lengths are
            // priced: the ones between rarely lead anywhere cheaper, and
            // pricing them all would make runs of long matches quadratic.
            for (unsigned length = shorter + 1; length <= m.length; ++length) {
                if (length == shorter + 1 + kLengthsPriced && m.length > length + kLengthsPriced) {
                    length = m.length - kLengthsPriced;
                }
                const std::uint32_t c = withOffset + prices.charLen[length + 253];
                if (c < cost_[i + length]) {
                    cost_[i + length] = c;
                    step_[i + length] = Lh5Token::Copy(length, m.distance);
                }
            }
            shorter = m.length;
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
