// Key listings at the edge of the 8192-byte listing buffer: names are seen
// whole or not at all.
#include "platform/win32/profile_files.h"

#include <gtest/gtest.h>

#include "support/scratch_directory.h"

namespace kav::platform {
namespace {

using testing::ScratchDirectory;

// Names of `length` characters, unique by their leading number.
std::vector<std::string> Names(int count, std::size_t length) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name(length, 'x');
        const std::string number = std::to_string(1000 + i);
        name.replace(0, number.size(), number);
        names.push_back(name);
    }
    return names;
}

std::string IniWith(const std::vector<std::string>& names) {
    std::string text = "[List]\r\n";
    for (const std::string& name : names) text += name + "=v\r\n";
    return text;
}

TEST(Win32ProfileFilesTest, ListingThatFillsTheBufferExactlyKeepsEveryName) {
    ScratchDirectory scratch;
    // 89 names of 90 characters and one of 91: with their zeros 8191
    // bytes, plus the list's final zero 8192.
    std::vector<std::string> names = Names(90, 90);
    names.back() += "y";
    testing::WriteWholeFile(scratch / "full.ini", IniWith(names));
    Win32ProfileFiles profiles;
    EXPECT_EQ(profiles.ListKeys(scratch / "full.ini", "List"), names);
}

TEST(Win32ProfileFilesTest, NamesBeyondTheBufferAreLeftOutNotCut) {
    ScratchDirectory scratch;
    std::vector<std::string> names = Names(90, 90);
    names.back() += "yy";  // one byte too many for the last name
    testing::WriteWholeFile(scratch / "over.ini", IniWith(names));
    Win32ProfileFiles profiles;
    const std::vector<std::string> expected(names.begin(), names.end() - 1);
    EXPECT_EQ(profiles.ListKeys(scratch / "over.ini", "List"), expected);

    const std::vector<std::string> many = Names(200, 40);  // 41 bytes each
    testing::WriteWholeFile(scratch / "many.ini", IniWith(many));
    const auto listed = profiles.ListKeys(scratch / "many.ini", "List");
    ASSERT_EQ(listed.size(), 199u);  // 199 * 41 + 1 = 8160; one more would be 8201
    EXPECT_EQ(listed.back(), many[198]);
}

}  // namespace
}  // namespace kav::platform
