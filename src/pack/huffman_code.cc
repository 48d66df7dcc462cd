#include "pack/huffman_code.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace kav::pack {

UsedSymbols CountUsed(std::span<const std::uint32_t> frequencies) {
    UsedSymbols used;
    for (unsigned s = 0; s < frequencies.size(); ++s) {
        if (frequencies[s] != 0) {
            ++used.count;
            used.last = s;
        }
    }
    return used;
}

std::vector<std::uint8_t> CodeLengths(std::span<const std::uint32_t> frequencies,
                                      unsigned maxBits) {
    const std::size_t n = frequencies.size();
    std::vector<std::uint8_t> lengths(n, 0);
    // Leaves by rising frequency (ties by symbol, for output that does not
    // depend on the sort's stability).
    std::vector<unsigned> leaves;
    for (unsigned s = 0; s < n; ++s) {
        if (frequencies[s] != 0) leaves.push_back(s);
    }
    if (leaves.size() < 2) return lengths;
    std::sort(leaves.begin(), leaves.end(), [&](unsigned a, unsigned b) {
        return frequencies[a] != frequencies[b] ? frequencies[a] < frequencies[b] : a < b;
    });

    // Two-queue Huffman construction: leaves in order, inner nodes in the
    // order they are made (which is also rising weight).
    const std::size_t m = leaves.size();
    std::vector<std::uint64_t> weight(2 * m - 1);
    std::vector<std::size_t> parent(2 * m - 1, 0);
    for (std::size_t i = 0; i < m; ++i) weight[i] = frequencies[leaves[i]];
    std::size_t nextLeaf = 0, nextInner = m, made = m;
    auto takeLightest = [&]() {
        if (nextLeaf < m && (nextInner == made || weight[nextLeaf] <= weight[nextInner])) {
            return nextLeaf++;
        }
        return nextInner++;
    };
    while (made < 2 * m - 1) {
        const std::size_t a = takeLightest();
        const std::size_t b = takeLightest();
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made;
        ++made;
    }
    // Depths from the root down (parents are always made after children).
    std::vector<unsigned> depth(2 * m - 1, 0);
    for (std::size_t i = 2 * m - 2; i-- > 0;) depth[i] = depth[parent[i]] + 1;

    // Count leaves per length, folding lengths beyond the limit into it, then
    // lengthen codes until the code space is filled exactly once.
    std::vector<std::uint64_t> perLength(std::max<unsigned>(maxBits, 64) + 1, 0);
    for (std::size_t i = 0; i < m; ++i) ++perLength[std::min<unsigned>(depth[i], maxBits)];
    std::uint64_t space = 0;
    for (unsigned len = 1; len <= maxBits; ++len) space += perLength[len] << (maxBits - len);
    const std::uint64_t full = std::uint64_t{1} << maxBits;
    while (space > full) {
        // Move one leaf of the longest length up, and split one shorter
        // leaf into two longer ones: net loss of one unit of code space.
        --perLength[maxBits];
        for (unsigned len = maxBits - 1; len > 0; --len) {
            if (perLength[len] != 0) {
                --perLength[len];
                perLength[len + 1] += 2;
                break;
            }
        }
        --space;
    }
    // Shortest lengths to the most frequent symbols.
    std::size_t leaf = m;
    for (unsigned len = 1; len <= maxBits; ++len) {
        for (std::uint64_t k = 0; k < perLength[len]; ++k) {
            lengths[leaves[--leaf]] = static_cast<std::uint8_t>(len);
        }
    }
    return lengths;
}

std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths) {
    std::array<unsigned, kMaxCodeBits + 2> count{};
    for (auto len : lengths) ++count[len];
    count[0] = 0;
    std::array<unsigned, kMaxCodeBits + 2> next{};
    unsigned code = 0;
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] != 0) codes[s] = static_cast<std::uint16_t>(next[lengths[s]]++);
    }
    return codes;
}

}  // namespace kav::pack
