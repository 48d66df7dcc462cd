// The install's records as a profile file held in memory.
#include "install/record_document.h"

#include <gtest/gtest.h>

namespace kav::install {
namespace {

TEST(RecordDocumentTest, EditsKeepUntouchedLinesAndFollowTheProfileRules) {
    RecordDocument document("; head\n[Files]\r\nKey=one\r\nkey=two\r\n\r\n[Other]\r\nx = 1");
    EXPECT_EQ(document.Text(), "; head\n[Files]\r\nKey=one\r\nkey=two\r\n\r\n[Other]\r\nx = 1");
    // Names match without regard to case; the first line of a key is its own.
    EXPECT_EQ(document.Read("FILES", "KEY"), "one");
    EXPECT_EQ(document.Read("other", "X"), "1");
    EXPECT_FALSE(document.Read("Files", "Ke"));
    EXPECT_FALSE(document.Read("Nothing", "Key"));
    // A rewritten key keeps its spelling and place; a new key goes after the
    // section's last entry, before its blank line; an unterminated last line
    // is ended before a new section follows it.
    document.Write("files", "KEY", "three");
    document.Write("Files", "New", "");
    document.Write("Added", "a", "b");
    EXPECT_EQ(document.Text(),
              "; head\n[Files]\r\nKey=three\r\nkey=two\r\nNew=\r\n\r\n[Other]\r\nx = 1\r\n"
              "\r\n[Added]\r\na=b\r\n");
    // The blank line before a section added later is the earlier one's.
    EXPECT_TRUE(document.RemoveSection("OTHER"));
    EXPECT_FALSE(document.RemoveSection("Other"));
    EXPECT_EQ(document.Text(),
              "; head\n[Files]\r\nKey=three\r\nkey=two\r\nNew=\r\n\r\n[Added]\r\na=b\r\n");
}

TEST(RecordDocumentTest, ThousandsOfKeysInMixedCaseAreEachFoundOnce) {
    RecordDocument document;
    constexpr int kKeys = 3000;
    for (int i = 0; i < kKeys; ++i)
        document.Write("UNINS", "C:\\Dir\\File" + std::to_string(i), "");
    for (int i = 0; i < kKeys; ++i) {
        document.Write("unins", "c:\\dir\\FILE" + std::to_string(i), std::to_string(i));
    }
    for (int i = 0; i < kKeys; ++i) {
        ASSERT_EQ(document.Read("Unins", "C:\\DIR\\file" + std::to_string(i)), std::to_string(i));
    }
    const std::string text = document.Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kKeys + 1);
    const std::string last = "C:\\Dir\\File2999=2999\r\n";
    EXPECT_EQ(text.rfind(last), text.size() - last.size());
    EXPECT_EQ(RecordDocument(text).Read("UNINS", "c:\\dir\\file1500"), "1500");
}

}  // namespace
}  // namespace kav::install
