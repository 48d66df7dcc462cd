// Key listings of the real profile functions, however long.
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

// Listings around and far beyond the 8192 bytes of a single listing buffer
// keep every name whole, in file order.
TEST(Win32ProfileFilesTest, ListingsOfAnyLengthKeepEveryName) {
    ScratchDirectory scratch;
    Win32ProfileFiles profiles;
    // 89 names of 90 characters and one of 91: with their zeros 8191
    // bytes, plus the list's final zero 8192; then one byte more.
    for (const char* tail : {"y", "yy"}) {
        std::vector<std::string> names = Names(90, 90);
        names.back() += tail;
        testing::WriteWholeFile(scratch / "edge.ini", IniWith(names));
        EXPECT_EQ(profiles.ListKeys(scratch / "edge.ini", "List"), names) << tail;
    }
    const std::vector<std::string> many = Names(5000, 40);  // 41 bytes each
    testing::WriteWholeFile(scratch / "many.ini", IniWith(many) + "[Next]\r\nafter=1\r\n");
    EXPECT_EQ(profiles.ListKeys(scratch / "many.ini", "List"), many);
}

}  // namespace
}  // namespace kav::platform
