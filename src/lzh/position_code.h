#pragma once
// The fixed prefix code of the upper 6 bits of a coLZH match position.
// Codes are canonical in increasing value with the lengths 3 (value 0),
// 4 (1..3), 5 (4..11), 6 (12..23), 7 (24..47) and 8 (48..63); both tables
// are indexed by the next 8 bits of the stream.
#include <array>
#include <cstdint>

namespace kav::lzh {

struct PositionCode {
    std::array<std::uint8_t, 256> upperBits;
    std::array<std::uint8_t, 256> codeLength;
};

constexpr PositionCode MakePositionCode() {
    PositionCode code{};
    unsigned next = 0;
    for (unsigned upper = 0; upper < 64; ++upper) {
        const unsigned length = upper < 1    ? 3
                                : upper < 4  ? 4
                                : upper < 12 ? 5
                                : upper < 24 ? 6
                                : upper < 48 ? 7
                                             : 8;
        const unsigned span = 1u << (8 - length);
        for (unsigned b = next; b < next + span; ++b) {
            code.upperBits[b] = static_cast<std::uint8_t>(upper);
            code.codeLength[b] = static_cast<std::uint8_t>(length);
        }
        next += span;
    }
    return code;
}

inline constexpr PositionCode kPositionCode = MakePositionCode();

}  // namespace kav::lzh
