#include "app/kavset/safe_names.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kav::app
