#include <gtest/gtest.h>

#include "lzh/adaptive_model.h"
#include "lzh_test_support.h"

namespace kav::lzh::test {
namespace {

constexpr std::uint8_t kSpace = 0x20;

Bytes Decode(const Bytes& coded, std::int32_t count) { return Expand(coLZH, coded, count).output; }

// Writes symbols with the codes of a model kept in step with the decoder's.
class AdaptiveWriter {
public:
    AdaptiveWriter& Literal(std::uint8_t byte) { return Symbol(byte); }
    // A match of `length` (3..60) bytes starting `distance` (1..4096) back.
    AdaptiveWriter& Match(unsigned length, unsigned distance) {
        Symbol(length + 253);
        const unsigned position = distance - 1;
        const unsigned upper = position >> 6;
        // Canonical code of the upper six bits, as the first bits of a byte.
        static constexpr unsigned kFirst[] = {0, 1, 4, 12, 24, 48, 64};
        static constexpr unsigned kBase[] = {0x00, 0x20, 0x50, 0x90, 0xC0, 0xF0};
        unsigned group = 0;
        while (upper >= kFirst[group + 1]) ++group;
        const unsigned codeLength = 3 + group;
        const unsigned unused = 8 - codeLength;
        const unsigned code = (kBase[group] + ((upper - kFirst[group]) << unused)) >> unused;
        bits_.Put(code, codeLength).Put(position & 0x3F, 6);
        return *this;
    }
    Bytes Finish(std::size_t zeroBytes = 4) const { return bits_.Finish(zeroBytes); }

private:
    AdaptiveWriter& Symbol(unsigned symbol) {
        bits_.PutString(model_.CodeOf(symbol));
        model_.Update(symbol);
        return *this;
    }
    AdaptiveModel model_;
    BitWriter bits_;
};

TEST(AdaptiveLzhDecoder, CountZeroReadsNothing) {
    const Expansion e = Expand(coLZH, {1, 2, 3}, 0);
    EXPECT_TRUE(e.output.empty());
    EXPECT_EQ(e.sourcePosition, 0);
}

TEST(AdaptiveLzhDecoder, FreshModelHasCodesOfEightAndNineBits) {
    EXPECT_EQ(Decode(BitWriter().PutString("00000000").Finish(2), 1), Bytes{0x74});
    EXPECT_EQ(Decode(BitWriter().PutString("110001100").Finish(2), 1), Bytes{0x00});
    // Symbol 256: 3 bytes; position code 000 + 000000: distance 1.
    EXPECT_EQ(Decode(BitWriter().PutString("10001100 000 000000").Finish(2), 3), Bytes(3, kSpace));
    AdaptiveModel model;
    EXPECT_EQ(model.CodeOf(115).size(), 9u);
    EXPECT_EQ(model.CodeOf(116).size(), 8u);
    EXPECT_EQ(model.CodeOf(313).size(), 8u);
}

TEST(AdaptiveLzhDecoder, PositionCodesCoverAllDistances) {
    // Text of 4096 distinct-enough bytes, then matches reaching 1 to 4096
    // bytes back through every length of the position code.
    AdaptiveWriter w;
    Bytes expected;
    for (unsigned i = 0; i < 4096; ++i) {
        const auto byte = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
        w.Literal(byte);
        expected.push_back(byte);
    }
    for (const unsigned distance : {1u, 64u, 65u, 256u, 257u, 769u, 1537u, 3073u, 4095u, 4096u}) {
        for (const unsigned length : {3u, 60u}) {
            w.Match(length, distance);
            for (unsigned k = 0; k < length; ++k)
                expected.push_back(expected[expected.size() - distance]);
        }
    }
    EXPECT_EQ(Decode(w.Finish(), static_cast<std::int32_t>(expected.size())), expected);
}

TEST(AdaptiveLzhDecoder, MatchesAtTheStartCopySpaces) {
    const Bytes coded = AdaptiveWriter().Literal('k').Match(60, 4036).Finish();
    Bytes expected(61, kSpace);
    expected[0] = 'k';
    EXPECT_EQ(Decode(coded, 61), expected);
}

// A final match longer than what remains ends at the count: inside the
// output block or across its end (or at it), by 1, 7, 8 or all but one of
// its 60 bytes, by the byte-wise input or (with input to spare) the fast path.
TEST(AdaptiveLzhDecoder, AFinalMatchIsCutAtTheCount) {
    EXPECT_EQ(Decode(AdaptiveWriter().Literal('k').Match(60, 4036).Finish(), 2),
              (Bytes{'k', kSpace}));
    for (const unsigned before : {100u, 8140u, 8190u}) {
        for (const unsigned overshoot : {1u, 7u, 8u, 59u}) {
            for (const std::size_t spare : {4u, 96u}) {
                SCOPED_TRACE(testing::Message() << before << " bytes, " << overshoot << " beyond, "
                                                << spare << " spare");
                AdaptiveWriter w;
                Bytes expected;
                for (unsigned i = 0; i + 1 < before; ++i) {
                    w.Literal('a');
                    expected.push_back('a');
                }
                w.Literal('b').Match(60, 2);
                expected.push_back('b');
                for (int i = 0; i < 60; ++i) expected.push_back(expected[expected.size() - 2]);
                expected.resize(expected.size() - overshoot);
                const Expansion e =
                    Expand(coLZH, w.Finish(spare), static_cast<std::int32_t>(expected.size()));
                EXPECT_EQ(e.output, expected);
                EXPECT_EQ(e.sum, ByteSum(expected));
            }
        }
    }
}

TEST(AdaptiveLzhDecoder, ModelIsRebuiltExactlyWhenTheRootReaches0x8000) {
    AdaptiveModel model;
    EXPECT_EQ(model.RootWeight(), 314);
    for (unsigned i = 314; i < 0x8000; ++i) model.Update(0);
    EXPECT_EQ(model.RootWeight(), 0x8000);
    // Halved, rounding up: symbol 0 weighs (32455 + 1) / 2, the other 313
    // leaves 1 each; then the update itself.
    model.Update(0);
    EXPECT_EQ(model.RootWeight(), (32455 + 1) / 2 + 313 + 1);
    EXPECT_EQ(model.CodeOf(0), "1");
}

TEST(AdaptiveLzhDecoder, LongInputsSurviveManyRebuilds) {
    AdaptiveWriter w;
    Bytes expected;
    std::uint32_t seed = 12345;
    while (expected.size() < 400000) {
        seed = seed * 1103515245 + 12345;
        if (expected.size() > 100 && (seed >> 28) < 6) {
            const unsigned length = 3 + (seed >> 8) % 58;
            const unsigned distance = 1 + (seed >> 14) % 100;
            w.Match(length, distance);
            for (unsigned k = 0; k < length; ++k)
                expected.push_back(expected[expected.size() - distance]);
        } else {
            const auto byte = static_cast<std::uint8_t>((seed >> 16) % 40 + 'A');
            w.Literal(byte);
            expected.push_back(byte);
        }
    }
    const Expansion e = Expand(coLZH, w.Finish(), static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(e.output, expected);
    EXPECT_EQ(e.sum, ByteSum(expected));
}

TEST(AdaptiveLzhDecoder, AfterAStopAnswerBytesReadAsZeroButMissingDataIsRefused) {
    // Zero bits in a fresh model: symbol 116 ("t"), and then the codes shift.
    Bytes stopped(100, 0xC3);
    CodecSettings settings;
    settings.OnShowProgress = [](int& percent) { percent = -1; };
    const Bytes fromStop = Expand(coLZH, stopped, 500, settings).output;
    ASSERT_GE(fromStop.size(), 500u);
    EXPECT_EQ(fromStop[0], 0x74);
    // A source that simply ends is damage: nothing is made up from zero bits.
    EXPECT_THROW(Expand(coLZH, {}, 500), ELZHTruncatedData);
    EXPECT_THROW(Expand(coLZH5, Bytes(40, 0), 1 << 20), ELZHTruncatedData);
}

}  // namespace
}  // namespace kav::lzh::test
