#include <gtest/gtest.h>

#include "lzh_test_support.h"

namespace kav::lzh::test {
namespace {

constexpr std::uint8_t kSpace = 0x20;

// A block header whose three codes each have a single symbol: the symbols
// then take no bits at all, only an offset's extra bits are sent.
BitWriter& SingleSymbolBlock(BitWriter& w, std::uint16_t size, unsigned charLen, unsigned offset) {
    return w.Put(size, 16).Put(0, 5).Put(0, 5).Put(0, 9).Put(charLen, 9).Put(0, 4).Put(offset, 4);
}

Bytes Decode(const Bytes& coded, std::int32_t count) { return Expand(coLZH5, coded, count).output; }

TEST(Lzh5Decoder, DecodesTheTwoHandMadeBlocks) {
    Bytes abc = {0x00, 0x03, 0x28, 0x08, 0x44, 0xC9, 0x13, 0x70, 0x01, 0x60, 0, 0, 0};
    EXPECT_EQ(Decode(abc, 3), (Bytes{0x61, 0x62, 0x63}));
    // Input that ends early reads as zero bits.
    abc.resize(10);
    EXPECT_EQ(Decode(abc, 3), (Bytes{0x61, 0x62, 0x63}));
    const Bytes aaaa = {0x00, 0x02, 0x20, 0x04, 0x30, 0x11, 0x36, 0x45, 0x40, 0x10, 0, 0, 0};
    EXPECT_EQ(Decode(aaaa, 4), (Bytes{0x61, 0x61, 0x61, 0x61}));
}

TEST(Lzh5Decoder, CountZeroReadsNothing) {
    const Expansion e = Expand(coLZH5, {0x00, 0x03, 0x28}, 0);
    EXPECT_TRUE(e.output.empty());
    EXPECT_EQ(e.sourcePosition, 0);
}

TEST(Lzh5Decoder, SingleSymbolCodesTakeNoBits) {
    BitWriter w;
    SingleSymbolBlock(w, 5, 'q', 0);
    EXPECT_EQ(Decode(w.Finish(), 5), Bytes(5, 'q'));
}

TEST(Lzh5Decoder, MatchesAtTheStartCopyTheInitialSpaces) {
    BitWriter w;
    // Length symbol 256 is 3 bytes, offset symbol 0 is offset 0.
    SingleSymbolBlock(w, 1, 256, 0);
    EXPECT_EQ(Decode(w.Finish(), 3), Bytes(3, kSpace));
}

TEST(Lzh5Decoder, OffsetsAndLengthsSpanTheWholeRange) {
    BitWriter w;
    SingleSymbolBlock(w, 1, 'A', 0);
    SingleSymbolBlock(w, 8191, 'B', 0);
    // Offset symbol 13 with 12 extra 1-bits: offset 8191, 8192 bytes back.
    SingleSymbolBlock(w, 1, 256, 13).Put(0xFFF, 12);
    // Offset symbol 1: offset 1, repeating the last two bytes ("BB", "BA"...)
    SingleSymbolBlock(w, 1, 509, 1);
    Bytes expected = {'A'};
    expected.insert(expected.end(), 8191, 'B');
    expected.insert(expected.end(), {'A', 'B', 'B'});
    for (int i = 0; i < 256; ++i) expected.push_back(expected[expected.size() - 2]);
    EXPECT_EQ(Decode(w.Finish(), static_cast<std::int32_t>(expected.size())), expected);
}

TEST(Lzh5Decoder, BlockSizeZeroGoverns65536Symbols) {
    BitWriter w;
    SingleSymbolBlock(w, 0, 'x', 0);
    SingleSymbolBlock(w, 1, 'y', 0);
    Bytes expected(65536, 'x');
    expected.push_back('y');
    EXPECT_EQ(Decode(w.Finish(), 65537), expected);
}

// Some encoders end with a match longer than what remains: the output ends
// at the count all the same, whether the match ends inside the output block
// or across its end (or the count is the block's end), by 1, 7, 8 or all
// but one of its 256 bytes, decoded by the byte-wise input or (with input
// to spare) by the fast path.
TEST(Lzh5Decoder, AFinalMatchIsCutAtTheCount) {
    {
        BitWriter w;
        SingleSymbolBlock(w, 1, 509, 0);
        EXPECT_EQ(Decode(w.Finish(), 2), Bytes(2, kSpace));
    }
    for (const std::uint16_t before : {100, 7944, 8190}) {
        for (const unsigned overshoot : {1u, 7u, 8u, 255u}) {
            for (const std::size_t spare : {0u, 64u}) {
                SCOPED_TRACE(testing::Message() << before << " bytes, " << overshoot << " beyond, "
                                                << spare << " spare");
                BitWriter w;
                SingleSymbolBlock(w, before - 1, 'a', 0);
                SingleSymbolBlock(w, 1, 'b', 0);
                // 256 bytes from offset 1: "abab...".
                SingleSymbolBlock(w, 1, 509, 1);
                Bytes expected(before - 1, 'a');
                expected.push_back('b');
                for (int i = 0; i < 256; ++i) expected.push_back(expected[expected.size() - 2]);
                expected.resize(expected.size() - overshoot);
                const Expansion e =
                    Expand(coLZH5, w.Finish(spare), static_cast<std::int32_t>(expected.size()));
                EXPECT_EQ(e.output, expected);
                EXPECT_EQ(e.sum, ByteSum(expected));
            }
        }
    }
}

TEST(Lzh5Decoder, AfterAStopAnswerOnlyZeroBitsAreDecoded) {
    // Zero bits decode as blocks of 65536 literal 0 bytes. The source is not
    // asked again, so the handler hears of one refill only.
    Bytes coded(20000, 0xA5);
    int calls = 0;
    CodecSettings settings;
    settings.OnShowProgress = [&](int& percent) {
        ++calls;
        percent = -1;
    };
    const Expansion e = Expand(coLZH5, coded, 70000, settings);
    EXPECT_EQ(e.output, Bytes(70000, 0));
    EXPECT_EQ(calls, 1);
}

// The code-length code 0, 0, 2, 2, 1 of the first example block (codes: 0
// for symbol 4, 10 for symbol 2, 11 for symbol 3), followed by the count of
// a character/length list of `n` entries.
BitWriter CodeLengthHeader(unsigned n) {
    BitWriter w;
    w.Put(1, 16).Put(5, 5).Put(0, 3).Put(0, 3).Put(2, 3).Put(0, 2).Put(2, 3).Put(1, 3).Put(n, 9);
    return w;
}

void ExpectRefused(const Bytes& coded) { EXPECT_THROW(Decode(coded, 1), ELZHBadDecodeTable); }

TEST(Lzh5Decoder, RefusesCodesThatDoNotFillTheCodeSpaceExactly) {
    // Over-full: 1, 1, 1.
    ExpectRefused(
        BitWriter().Put(1, 16).Put(3, 5).Put(1, 3).Put(1, 3).Put(1, 3).Put(0, 2).Finish(8));
    // Exactly twice full: a 16-bit sum would wrap to zero and pass.
    ExpectRefused(
        BitWriter().Put(1, 16).Put(4, 5).Put(1, 3).Put(1, 3).Put(1, 3).Put(0, 2).Put(1, 3).Finish(
            8));
    // Under-full: a single code of length 1.
    ExpectRefused(BitWriter().Put(1, 16).Put(1, 5).Put(1, 3).Finish(8));
    // All lengths zero though a list was sent: lookups would find nothing.
    ExpectRefused(CodeLengthHeader(20).PutString("10").Put(0, 9).Finish(8));
    // A character/length list of the single length 1.
    ExpectRefused(CodeLengthHeader(1).PutString("11").Finish(8));
}

TEST(Lzh5Decoder, RefusesMalformedHeadersBeforeTouchingATable) {
    // Code lengths above 16 through the unary form: 17, and 20 when the
    // 1-bits run past the look-ahead.
    ExpectRefused(BitWriter().Put(1, 16).Put(1, 5).PutString("111 1111111111 0").Finish(8));
    ExpectRefused(BitWriter().Put(1, 16).Put(1, 5).PutString("111 1111111111111 1111").Finish(8));
    // Counts larger than their alphabets.
    ExpectRefused(BitWriter().Put(1, 16).Put(20, 5).Finish(8));
    ExpectRefused(CodeLengthHeader(511).Finish(8));
    {
        BitWriter w;
        w.Put(1, 16).Put(0, 5).Put(0, 5).Put(0, 9).Put('a', 9).Put(15, 4);
        ExpectRefused(w.Finish(8));
    }
    // A zero run (code 10 = symbol 2, 9 bits: 20 + 500) past entry 510.
    ExpectRefused(CodeLengthHeader(510).PutString("11 10").Put(500, 9).Finish(8));
    // Single symbols outside their alphabets.
    ExpectRefused(BitWriter().Put(1, 16).Put(0, 5).Put(19, 5).Finish(8));
    ExpectRefused(BitWriter().Put(1, 16).Put(0, 5).Put(0, 5).Put(0, 9).Put(510, 9).Finish(8));
    ExpectRefused(BitWriter()
                      .Put(1, 16)
                      .Put(0, 5)
                      .Put(0, 5)
                      .Put(0, 9)
                      .Put('a', 9)
                      .Put(0, 4)
                      .Put(14, 4)
                      .Finish(8));
}

}  // namespace
}  // namespace kav::lzh::test
