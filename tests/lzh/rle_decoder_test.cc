#include <gtest/gtest.h>

#include "lzh_test_support.h"

namespace kav::lzh::test {
namespace {

TEST(RleDecoder, ExpandsTheTokenForms) {
    const struct {
        Bytes coded;
        Bytes expanded;
    } cases[] = {
        {{}, {}},
        {{0x41, 0x94, 0x05}, Bytes(5, 0x41)},
        {{0x41, 0x94, 0x01}, {0x41}},
        {{0x94, 0x00}, {0x94}},
        {{0x94, 0x00, 0x94, 0x00}, {0x94, 0x94}},
        // The previous token's first byte starts as 0.
        {{0x94, 0x03}, {0x00, 0x00}},
        // A run after a run or an escaped literal repeats the escape byte.
        {{0x41, 0x94, 0x03, 0x94, 0x02}, {0x41, 0x41, 0x41, 0x94}},
        {{0x94, 0x00, 0x94, 0x03}, {0x94, 0x94, 0x94}},
        // An escape at the very end stands for itself.
        {{0x42, 0x94}, {0x42, 0x94}},
        {{0x42, 0x94, 0xFF}, Bytes(255, 0x42)},
    };
    for (const auto& c : cases) {
        const Expansion e = Expand(coRLE, c.coded, 0);
        EXPECT_EQ(e.output, c.expanded);
        EXPECT_EQ(e.sum, ByteSum(c.expanded));
        EXPECT_EQ(e.sourcePosition, static_cast<std::int64_t>(c.coded.size()));
    }
}

TEST(RleDecoder, StopsAtTheFirstTokenAfterAStopAnswer) {
    Bytes coded(9000, 0x41);
    int calls = 0;
    CodecSettings settings;
    settings.OnShowProgress = [&](int& percent) {
        if (++calls == 2) percent = -1;
    };
    const Expansion e = Expand(coRLE, coded, 0, settings);
    EXPECT_EQ(e.output, Bytes(8192, 0x41));
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace kav::lzh::test
