// Streams coded by an independent encoder (jLHA, see
// scripts/make-lzh-fixtures.sh) must expand exactly to the samples they were
// made from, also when the entry is locked and its bytes scrambled.
#include <gtest/gtest.h>

#include "lzh_test_support.h"

namespace kav::lzh::test {
namespace {

TEST(Fixtures, EveryJlhaStreamExpandsExactlyAndIsReadToItsEnd) {
    const auto fixtures = ReadFixtureManifest();
    ASSERT_GE(fixtures.size(), 19u);
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.stream);
        const Bytes coded = ReadBinaryFile(TestDataPath("lzh/" + f.stream));
        const Expansion e = Expand(FixtureMethod(f.stream), coded, f.size);
        EXPECT_EQ(e.output.size(), static_cast<std::size_t>(f.size));
        EXPECT_EQ(e.sum, f.sum);
        EXPECT_EQ(Fnv1a64(e.output), f.hash);
        // The next archive entry follows directly, so all of it must be read.
        EXPECT_EQ(e.sourcePosition, static_cast<std::int64_t>(coded.size()));
    }
}

TEST(Fixtures, LockedStreamsScrambledWithTheKeyExpandTheSame) {
    const std::int32_t key = static_cast<std::int32_t>(0x9E3779B9u);
    CodecSettings settings;
    settings.Key = key;
    for (const Fixture& f : ReadFixtureManifest()) {
        if (f.size > 200000) continue;
        SCOPED_TRACE(f.stream);
        Bytes coded = ReadBinaryFile(TestDataPath("lzh/" + f.stream));
        for (std::size_t i = 0; i < coded.size(); ++i) {
            coded[i] ^= static_cast<std::uint8_t>(static_cast<std::uint32_t>(key) >> (8 * (i % 4)));
        }
        const Expansion e = Expand(FixtureMethod(f.stream), coded, f.size, settings, true);
        EXPECT_EQ(e.sum, f.sum);
        EXPECT_EQ(Fnv1a64(e.output), f.hash);
    }
}

}  // namespace
}  // namespace kav::lzh::test
