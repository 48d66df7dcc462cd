#include "setup/routines.h"

#include <gtest/gtest.h>

#include "setup/profile_values.h"

namespace kav::setup {
namespace {

TEST(TakeField, SplitsAtTheFirstDelimiterAndRepeatsTheLastField) {
    std::string source = "name~<WINDOWS>\\prog.exe~X~";
    std::string field;
    TakeField(source, "~", field);
    EXPECT_EQ(field, "name");
    TakeField(source, "~", field);
    EXPECT_EQ(field, "<WINDOWS>\\prog.exe");
    TakeField(source, "~", field);
    EXPECT_EQ(field, "X");
    TakeField(source, "~", field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(source, "");
    // No delimiter left: the whole rest, again and again.
    source = "last";
    TakeField(source, "~", field);
    TakeField(source, "~", field);
    EXPECT_EQ(field, "last");
    EXPECT_EQ(source, "last");
}

TEST(TakeField, MultiCharacterDelimiterAndEmptyLeadingField) {
    std::string source = "::a::b";
    std::string field = "old";
    TakeField(source, "::", field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(source, "a::b");
}

TEST(Paths, DriveRootsAreRecognised) {
    for (const char* root :
         {"A:", "A:\\", "c:\\\\", "\\", "\\\\server\\share", "\\\\server\\share\\"}) {
        EXPECT_TRUE(IsDriveRoot(root)) << root;
    }
    for (const char* dir :
         {"A:\\set", "C:\\WINDOWS\\Temp\\q", "\\\\server\\share\\dir", "set", ""}) {
        EXPECT_FALSE(IsDriveRoot(dir)) << dir;
    }
    EXPECT_EQ(ExtractFileName("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("A:b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
}

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
