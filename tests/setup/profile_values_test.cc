#include "setup/profile_values.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kav::setup {
namespace {

TEST(ParseInteger, DecimalDollarAndZeroXForms) {
    EXPECT_EQ(ParseInteger("255"), 255);
    EXPECT_EQ(ParseInteger("$FF"), 255);
    EXPECT_EQ(ParseInteger("0xFF"), 255);
    EXPECT_EQ(ParseInteger("0Xff"), 255);
    EXPECT_EQ(ParseInteger("-12"), -12);
    EXPECT_EQ(ParseInteger("+12"), 12);
    EXPECT_EQ(ParseInteger("-$10"), -16);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    // Colour values with the high bit set wrap around.
    EXPECT_EQ(static_cast<std::uint32_t>(*ParseInteger("$80000005")), 0x80000005u);
    EXPECT_EQ(static_cast<std::uint32_t>(*ParseInteger("0xFFFFFFFF")), 0xFFFFFFFFu);
}

TEST(ParseInteger, UnreadableValues) {
    for (const char* text : {"", "yes", "True", "0x", "$", "-", "12a", "0x-1", "2147483648",
                             "$100000000", "1 2", "0xG"}) {
        EXPECT_FALSE(ParseInteger(text).has_value()) << text;
    }
    // "0x" alone is not a hexadecimal prefix; "0" on its own is zero.
    EXPECT_EQ(ParseInteger("0"), 0);
}

}  // namespace
}  // namespace kav::setup
