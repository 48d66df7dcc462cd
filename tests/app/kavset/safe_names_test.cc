#include "app/kavset/safe_names.h"

#include <gtest/gtest.h>

#include "base/path_parts.h"

namespace kav::app {
namespace {

TEST(SafeRelativeName, KeepsOrdinaryNames) {
    const auto name = SafeRelativeName("sub\\dir/file.txt", false);
    EXPECT_EQ(name.relative, "sub\\dir\\file.txt");
    EXPECT_FALSE(name.changed);
}

TEST(SafeRelativeName, DropsEverythingThatCouldLeaveTheTarget) {
    for (const auto& [stored, expected] : std::vector<std::pair<std::string, std::string>>{
             {"..\\..\\x", "x"},
             {"\\WINDOWS\\x", "WINDOWS\\x"},
             {"C:\\x", "x"},
             {"C:x", "x"},
             {"a\\..\\..\\b", "a\\b"},
             {"//server/share/x", "server\\share\\x"},
             {"a:b\\c", "b\\c"},
             {"x\\a:stream", "x\\a_stream"},
             {"bell\x07\x7F.txt", "bell__.txt"},
         }) {
        const auto name = SafeRelativeName(stored, false);
        EXPECT_EQ(name.relative, expected) << stored;
        EXPECT_TRUE(name.changed) << stored;
    }
}

TEST(SafeRelativeName, FlatKeepsTheLastSegmentAndNothingUnusable) {
    EXPECT_EQ(SafeRelativeName("a\\b\\c.txt", true).relative, "c.txt");
    EXPECT_EQ(SafeRelativeName("..", true).relative, "");
    EXPECT_EQ(SafeRelativeName("dir\\", false).relative, "dir");
    EXPECT_EQ(SafeRelativeName("\\", false).relative, "");
}

TEST(PlainFileName, EverySeparatorCountsAndNoDeviceOrDotNamePasses) {
    EXPECT_EQ(base::PlainFileName("x/../../evil"), "evil");
    EXPECT_EQ(base::PlainFileName("a\\b:c.txt"), "c.txt");
    EXPECT_EQ(base::PlainFileName("conf.txt"), "conf.txt");
    EXPECT_EQ(base::PlainFileName("COM10"), "COM10");
    for (const char* refused :
         {"", "dir\\", "..", "a/.", "...", " . ", "nul", "Con.txt", "aux.", "COM1", "lpt9.dat",
          "CONIN$", "conout$.x", "NUL .txt", "a\tb", "del\x7F"}) {
        EXPECT_FALSE(base::PlainFileName(refused)) << refused;
    }
}

}  // namespace
}  // namespace kav::app
