// The simulation's building blocks where their rules are easy to get wrong:
// path folding, masks, short-name letters and DOS dates.
#include <gtest/gtest.h>

#include "platform/sim/dos_time.h"
#include "platform/sim/short_names.h"
#include "platform/sim/windows_path.h"

namespace kav::platform::sim {
namespace {

std::string Full(const std::string& path, const std::string& current = "C:\\Work") {
    ParsedPath parsed;
    if (!ParseFullPath(path, current, parsed)) return "<none>";
    return FormatPath(parsed, true);
}

TEST(SimPaths, RelativeForms) {
    EXPECT_EQ(Full("x\\y"), "C:\\Work\\x\\y");
    EXPECT_EQ(Full("\\x"), "C:\\x");
    EXPECT_EQ(Full("C:x"), "C:\\Work\\x");  // the current directory of drive C:
    EXPECT_EQ(Full("d:x"), "D:\\x");        // another drive: its root
    EXPECT_EQ(Full("C:"), "C:\\Work");
    EXPECT_EQ(Full("..\\..\\..\\x"), "C:\\x");
    EXPECT_EQ(Full("a\\...\\b"), "C:\\Work\\a\\b");
    EXPECT_EQ(Full("x", "A:\\"), "A:\\x");
    EXPECT_EQ(Full(""), "<none>");
    EXPECT_EQ(Full("\\\\server\\share"), "<none>");
    EXPECT_EQ(Full("1:\\x"), "<none>");
    // Trailing dots and blanks of a name are dropped, as the system does.
    EXPECT_EQ(Full("C:\\d\\b."), "C:\\d\\b");
    EXPECT_EQ(Full("C:\\d\\b "), "C:\\d\\b");
}

TEST(SimPaths, Masks) {
    EXPECT_TRUE(MatchesMask("*.*", "noext"));
    EXPECT_TRUE(MatchesMask("*", ".hidden"));
    EXPECT_TRUE(MatchesMask("DISK.0??", "disk.001"));
    EXPECT_FALSE(MatchesMask("disk.0??", "disk.01"));
    EXPECT_TRUE(MatchesMask("*a*b", "xxaxxb"));
    EXPECT_FALSE(MatchesMask("*a*b", "xxaxxbc"));
    EXPECT_TRUE(MatchesMask("readme.*", "README"));
    EXPECT_FALSE(MatchesMask("*.txt", "a.txt.bak"));
    EXPECT_TRUE(MatchesMask("a*", "a"));  // a star matches nothing too
}

TEST(SimShortNames, LettersFollowTheVolumeRules) {
    const std::vector<std::string> entries = {"Program Files", "Programs Old", "short.txt",
                                              "a.b.c.txt", "My Long Document.html"};
    EXPECT_EQ(ShortNameOf("Program Files", entries), "PROGRA~1");
    EXPECT_EQ(ShortNameOf("Programs Old", entries), "PROGRA~2");
    EXPECT_EQ(ShortNameOf("short.txt", entries), "short.txt");
    EXPECT_EQ(ShortNameOf("a.b.c.txt", entries), "ABC~1.TXT");
    EXPECT_EQ(ShortNameOf("My Long Document.html", entries), "MYLONG~1.HTM");
    EXPECT_EQ(ShortNameOf("x+y=z.txt", {"x+y=z.txt"}), "X_Y_Z~1.TXT");
    std::vector<std::string> many;
    for (int i = 0; i < 12; ++i) many.push_back("Long Name " + std::string(1, char('a' + i)));
    EXPECT_EQ(ShortNameOf("Long Name l", many), "LONGN~12");
    EXPECT_FALSE(IsShortName("two.dots.x"));
    EXPECT_FALSE(IsShortName("toolongname"));
    EXPECT_TRUE(IsShortName("EIGHTCHR.EXT"));
}

TEST(SimDosTime, RoundTripsAndLimits) {
    for (const std::uint32_t dos : {0x00210000u, 0x2ACF6DAFu, 0xFF9FBF7Du}) {
        const auto time = DosDateTimeToTime(dos);
        ASSERT_TRUE(time.has_value());
        EXPECT_EQ(TimeToDosDateTime(*time), dos);
    }
    EXPECT_FALSE(DosDateTimeToTime(0).has_value());            // month and day 0
    EXPECT_FALSE(DosDateTimeToTime(0x0021C000u).has_value());  // hour 24
    EXPECT_EQ(TimeToDosDateTime(0), 0x00210000u);              // 1970 is before DOS time
}

}  // namespace
}  // namespace kav::platform::sim
