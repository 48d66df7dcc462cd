// Stored names: host names in UTF-8 become code page 1252, and every name
// the installer could not place flat in one folder is refused.
#include "pack/stored_names.h"

#include <gtest/gtest.h>

namespace kav::pack {
namespace {

TEST(StoredNames, ConvertToTheWindowsCodePage) {
    EXPECT_EQ(ToWindowsAnsi("caf\xC3\xA9 \xE2\x82\xAC"), std::string("caf\xE9 \x80"));
    EXPECT_EQ(ToWindowsAnsi("\xC5\xA0"), std::string("\x8A"));  // S with caron
    EXPECT_FALSE(ToWindowsAnsi("\xE6\x97\xA5"));                // not in the page
    EXPECT_FALSE(ToWindowsAnsi("\xC0\xAF"));                    // overlong "/"
    EXPECT_FALSE(ToWindowsAnsi("ab\xC3"));                      // cut short
    EXPECT_EQ(MakeStoredName({"docs", "read me.txt"}).name, "docs\\read me.txt");
    EXPECT_FALSE(MakeStoredName({"a\\b.txt"}).problem.empty());
    EXPECT_FALSE(MakeStoredName({"tab\there"}).problem.empty());
    EXPECT_FALSE(MakeStoredName({"del\x7F"}).problem.empty());
}

TEST(StoredNames, RefuseWhatCannotBePlacedFlat) {
    const std::string longest(kMaxFileName, 'a');
    const auto problems = StoredNameProblems({
        "docs\\Caf\xC9.txt",
        "caf\xE9.TXT",                                   // the same name once flattened
        "dir\\" + longest,                               // 255 characters: fine
        "x\\" + longest + "b",                           // one too many
        std::string(kMaxStoredName - 3, 'd') + "\\e.x",  // stored name one too long
        "lpt1.log",
        "sub\\..",
    });
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_NE(problems[0].find("same file name as \"docs\\Caf\xC9.txt\""), std::string::npos);
    EXPECT_NE(problems[1].find("longer than 255"), std::string::npos);
    EXPECT_NE(problems[2].find("longer than 8191"), std::string::npos);
    EXPECT_NE(problems[3].find("not a plain file name"), std::string::npos);
    EXPECT_NE(problems[4].find("not a plain file name"), std::string::npos);
}

}  // namespace
}  // namespace kav::pack
