#include "platform/code_page_1252.h"

#include <gtest/gtest.h>

namespace kav::platform {
namespace {

TEST(CodePage1252, EveryByteGoesToUtf16AndBackAndForeignNamesAreRefused) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::u16string wide = Utf16FromCodePage1252(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');  // the euro sign
    EXPECT_EQ(wide[0x9F - 1], u'\u0178');
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // undefined: kept as the system keeps it
    EXPECT_EQ(CodePage1252FromUtf16(wide), all);
    EXPECT_EQ(NameFromUtf16(u"C:\\Caf\u00E9 Gr\u00FC\u00DFe\\Preis \u20AC.txt"),
              "C:\\Caf\xE9 Gr\xFC\xDF"
              "e\\Preis \x80.txt");

    // Cyrillic, Japanese, a character beyond U+FFFF, a lone surrogate.
    EXPECT_EQ(CodePage1252FromUtf16(u"\u0414"), std::nullopt);
    EXPECT_EQ(CodePage1252FromUtf16(u"\u65E5"), std::nullopt);
    EXPECT_EQ(CodePage1252FromUtf16(u"\xD800"), std::nullopt);
    try {
        NameFromUtf16(u"C:\\Users\\\u0418\u0432\u0430\u043D\\\U0001F600\\Desktop");
        FAIL() << "a name outside the page was accepted";
    } catch (const ENameOutsideCodePage& e) {
        EXPECT_NE(std::string(e.what()).find("C:\\Users\\????\\?\\Desktop"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace kav::platform
