// Every encoder's output must expand back to its input through the
// installer's own codec driver, on the shapes the decoders guard: empty and
// one-byte input, the 8192/8193 window edge, runs across block and window
// boundaries, incompressible data and matches at the largest distance.
#include "pack/encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "lzh/codec_driver.h"
#include "platform/stream.h"

namespace kav::pack {
namespace {

Bytes Expand(std::uint8_t method, const Bytes& coded, std::size_t size) {
    platform::MemoryStream source(coded);
    platform::MemoryStream target;
    lzh::CodecSettings settings;
    lzh::ExpandCodedData(settings, source, target, false, method, static_cast<std::int32_t>(size),
                         static_cast<std::int32_t>(coded.size()));
    return target.Bytes();
}

Bytes RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

Bytes Text(std::size_t size) {
    static const char* words[] = {"setup ",   "install ", "the ",    "archive ", "segment ",
                                  "file\r\n", "KAV ",     "window ", "of ",      "a "};
    std::mt19937 random(7);
    Bytes bytes;
    while (bytes.size() < size) {
        const char* w = words[random() % 10];
        bytes.insert(bytes.end(), w, w + std::char_traits<char>::length(w));
    }
    bytes.resize(size);
    return bytes;
}

// A random block, 8192 bytes of other data, then the block again: its
// only match lies exactly at the largest distance.
Bytes FarRepeat() {
    Bytes head = RandomBytes(300, 1);
    Bytes bytes = head;
    Bytes middle = RandomBytes(8192 - head.size(), 2);
    bytes.insert(bytes.end(), middle.begin(), middle.end());
    bytes.insert(bytes.end(), head.begin(), head.end());
    return bytes;
}

struct Shape {
    const char* name;
    Bytes data;
};

std::vector<Shape> Shapes() {
    Bytes runs;
    for (int i = 0; i < 200; ++i)
        runs.insert(runs.end(), 300 + i * 7, static_cast<std::uint8_t>(i));
    Bytes escapes(700, 0x94);
    escapes.push_back(1);
    escapes.insert(escapes.end(), {0x94, 0x94, 0x41, 0x94, 0x41, 0x41, 0x41});
    Bytes mixed = Text(150000);
    Bytes noise = RandomBytes(70000, 3);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    return {{"empty", {}},
            {"one byte", {0x41}},
            {"8192 bytes", Text(8192)},
            {"8193 bytes", Text(8193)},
            {"one long run", Bytes(200000, 0)},
            {"runs across blocks", runs},
            {"escape bytes", escapes},
            {"incompressible", RandomBytes(100000, 4)},
            {"largest distance", FarRepeat()},
            {"text then noise", mixed}};
}

class EncoderRoundTrip : public ::testing::TestWithParam<std::tuple<std::uint8_t, Level>> {};

TEST_P(EncoderRoundTrip, ExpandsToTheInput) {
    const auto [method, level] = GetParam();
    for (const auto& shape : Shapes()) {
        const Bytes coded = Encode(method, level, shape.data);
        EXPECT_EQ(Expand(method, coded, shape.data.size()), shape.data) << shape.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, EncoderRoundTrip,
    ::testing::Values(std::tuple{lzh::coRLE, Level::Normal}, std::tuple{lzh::coLZH, Level::Fast},
                      std::tuple{lzh::coLZH, Level::Normal}, std::tuple{lzh::coLZH, Level::Best},
                      std::tuple{lzh::coLZH5, Level::Fast}, std::tuple{lzh::coLZH5, Level::Normal},
                      std::tuple{lzh::coLZH5, Level::Best}));

TEST(Encoder, PiecesCodeLikeAWhole) {
    const Bytes data = Text(300000);
    for (std::uint8_t method : {lzh::coRLE, lzh::coLZH, lzh::coLZH5}) {
        Bytes coded;
        VectorSink sink(coded);
        auto encoder = MakeEncoder(method, Level::Normal, sink);
        for (std::size_t at = 0; at < data.size(); at += 777) {
            encoder->Write(data.data() + at, std::min<std::size_t>(777, data.size() - at));
        }
        encoder->Finish();
        EXPECT_EQ(coded, Encode(method, Level::Normal, data)) << int(method);
    }
}

TEST(Encoder, RunLengthCodesEscapesAndRuns) {
    EXPECT_EQ(Encode(lzh::coRLE, Level::Normal, Bytes(5, 0x41)), (Bytes{0x41, 0x94, 0x05}));
    EXPECT_EQ(Encode(lzh::coRLE, Level::Normal, Bytes(3, 0x94)), (Bytes{0x94, 0x00, 0x94, 0x03}));
    EXPECT_EQ(Encode(lzh::coRLE, Level::Normal, Bytes{0x41, 0x41}), (Bytes{0x41, 0x41}));
}

TEST(Encoder, LzhFiveCompressesTextAndBarelyGrowsNoise) {
    const Bytes text = Text(100000);
    EXPECT_LT(Encode(lzh::coLZH5, Level::Normal, text).size(), text.size() / 4);
    const Bytes noise = RandomBytes(100000, 9);
    EXPECT_LT(Encode(lzh::coLZH5, Level::Normal, noise).size(), noise.size() + noise.size() / 50);
    EXPECT_LE(Encode(lzh::coLZH5, Level::Best, text).size(),
              Encode(lzh::coLZH5, Level::Normal, text).size());
}

}  // namespace
}  // namespace kav::pack
