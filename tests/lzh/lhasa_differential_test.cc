// The decoders against an independent one: liblhasa decodes "-lh5-" and
// "-lh1-" streams, which are the coLZH5 and coLZH codings. Both must give
// the same bytes for the jLHA fixtures, for streams written here, and for
// damaged copies of the fixtures wherever this decoder accepts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "lzh/adaptive_model.h"
#include "lzh_test_support.h"
#include "support/lhasa_decode.h"

namespace kav::lzh::test {
namespace {

const char* LhasaName(std::uint8_t method) { return method == coLZH5 ? "-lh5-" : "-lh1-"; }

// Both stop at the size, also where a final match runs past it. On damaged
// data lhasa may give up early; what it gave must then agree.
void ExpectSameAsLhasa(std::uint8_t method, const Bytes& coded, std::int32_t size,
                       bool lhasaMayStopEarly = false) {
    const Bytes ours = Expand(method, coded, size).output;
    const Bytes theirs = DecodeWithLhasa(LhasaName(method), coded, static_cast<std::size_t>(size));
    ASSERT_EQ(ours.size(), static_cast<std::size_t>(size));
    if (!lhasaMayStopEarly) {
        ASSERT_EQ(theirs.size(), ours.size());
    }
    ASSERT_LE(theirs.size(), ours.size());
    EXPECT_TRUE(std::equal(theirs.begin(), theirs.end(), ours.begin()));
}

TEST(LhasaDifferential, FixturesDecodeTheSame) {
    const auto fixtures = ReadFixtureManifest();
    ASSERT_FALSE(fixtures.empty());
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.stream);
        const Bytes coded = ReadBinaryFile(TestDataPath("lzh/" + f.stream));
        ExpectSameAsLhasa(FixtureMethod(f.stream), coded, f.size);
    }
}

// Every bit pattern is a valid coLZH stream, so random bytes compare the
// adaptive model and the position code over all their states.
// Streams that run out before their size are refused, not padded.
TEST(LhasaDifferential, RandomAdaptiveStreamsDecodeTheSame) {
    std::uint32_t seed = 7;
    int accepted = 0;
    for (int round = 0; round < 40; ++round) {
        Bytes coded(2000 + round * 500);
        for (auto& b : coded) {
            seed = seed * 1664525 + 1013904223;
            b = static_cast<std::uint8_t>(seed >> 24);
        }
        try {
            ExpectSameAsLhasa(coLZH, coded, 1000 * (round + 1));
            ++accepted;
        } catch (const ELZHTruncatedData&) {
        }
    }
    EXPECT_GT(accepted, 30);
}

// A long random stream: the model is rebuilt several times (every 32K
// symbols or so) and its top nodes move, which its lookups must follow.
TEST(LhasaDifferential, LongRandomAdaptiveStreamDecodesTheSame) {
    std::uint32_t seed = 11;
    Bytes coded(300000);
    for (auto& b : coded) {
        seed = seed * 1664525 + 1013904223;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    ExpectSameAsLhasa(coLZH, coded, 1000000);
}

// Damaged fixtures: one byte changed at a time. Whatever this decoder
// accepts, lhasa must expand to the same bytes.
TEST(LhasaDifferential, DamagedFixturesDecodeTheSameWhereAccepted) {
    std::uint32_t seed = 99;
    int accepted = 0;
    for (const Fixture& f : ReadFixtureManifest()) {
        if (f.size == 0 || f.size > 200000) continue;
        SCOPED_TRACE(f.stream);
        const Bytes original = ReadBinaryFile(TestDataPath("lzh/" + f.stream));
        for (int round = 0; round < 20; ++round) {
            Bytes coded = original;
            seed = seed * 1664525 + 1013904223;
            coded[(seed >> 8) % coded.size()] ^= static_cast<std::uint8_t>(1 + (seed >> 24) % 255);
            try {
                ExpectSameAsLhasa(FixtureMethod(f.stream), coded, f.size, true);
                ++accepted;
            } catch (const ELZHBadDecodeTable&) {
            } catch (const ELZHTruncatedData&) {
            }
        }
    }
    EXPECT_GT(accepted, 100);
}

}  // namespace
}  // namespace kav::lzh::test
