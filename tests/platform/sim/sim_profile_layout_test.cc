// The exact text the simulated profile functions leave in a file: Windows
// edits the file in place, so lines it does not touch stay as they were.
#include "base/profile_document.h"
#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

using base::ProfileDocument;

TEST(ProfileLayout, UntouchedLinesStayAndAnExistingKeyIsRewrittenInItsLine) {
    ProfileDocument doc("; comment\n[A]\r\n  key = old  \r\nother = kept\r\n");
    doc.Write("a", "KEY", "new");
    EXPECT_EQ(doc.Text(), "; comment\n[A]\r\nkey=new\r\nother = kept\r\n");
}

TEST(ProfileLayout, ANewKeyGoesAfterTheLastLineOfItsSection) {
    ProfileDocument doc("[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2");
    doc.Write("A", "added", "v");
    doc.Write("B", "z", "3");  // the unterminated last line gets its line end
    EXPECT_EQ(doc.Text(), "[A]\r\nx=1\r\nadded=v\r\n\r\n\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST(ProfileLayout, ANewSectionGoesToTheEndAfterABlankLine) {
    ProfileDocument doc("[A]\r\nx=1");
    doc.Write("New", "k", "");
    EXPECT_EQ(doc.Text(), "[A]\r\nx=1\r\n\r\n[New]\r\nk=\r\n");
    ProfileDocument empty;
    empty.Write("First", "k", "v");
    EXPECT_EQ(empty.Text(), "[First]\r\nk=v\r\n");
}

TEST(ProfileLayout, RemovingASectionTakesEveryLineUpToTheNext) {
    ProfileDocument doc("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n;c\r\n\r\n[C]\r\nz=3\r\n");
    EXPECT_TRUE(doc.RemoveSection("b"));
    EXPECT_EQ(doc.Text(), "[A]\r\nx=1\r\n\r\n[C]\r\nz=3\r\n");
    EXPECT_FALSE(doc.RemoveSection("B"));
}

// Windows lists a line without "=" under its whole text; the AUTOEXEC.BAT
// section of an installation script relies on it. (Wine leaves such lines
// out, so the conformance suite cannot check this.)
TEST(ProfileLayout, LinesWithoutEqualsSignAreListedButHaveNoValue) {
    ProfileDocument doc("[AUTOEXEC.BAT]\r\npath c:\\dos;<installdir>\r\nSET TEMP=C:\\TEMP\r\n");
    EXPECT_EQ(doc.ListKeys("autoexec.bat"),
              (std::vector<std::string>{"path c:\\dos;<installdir>", "SET TEMP"}));
    EXPECT_FALSE(doc.Read("AUTOEXEC.BAT", "path c:\\dos;<installdir>").has_value());
    EXPECT_EQ(doc.Read("AUTOEXEC.BAT", "set temp"), "C:\\TEMP");
}

TEST(ProfileLayout, LinesBeforeTheFirstSectionFormTheEmptySection) {
    ProfileDocument doc("top=1\r\n[A]\r\nx=2\r\n");
    EXPECT_EQ(doc.ListKeys(""), std::vector<std::string>{"top"});
    EXPECT_EQ(doc.Read("", "TOP"), "1");
    EXPECT_FALSE(doc.Read("A", "top").has_value());
}

TEST(ProfileLayout, SingleQuotesAreRemovedLikeDoubleOnesButOnlyInPairs) {
    ProfileDocument doc("[A]\r\na='x'\r\nb=\"x\r\nc=\"\r\nd=\"x'\r\n");
    EXPECT_EQ(doc.Read("A", "a"), "x");
    EXPECT_EQ(doc.Read("A", "b"), "\"x");
    EXPECT_EQ(doc.Read("A", "c"), "\"");
    EXPECT_EQ(doc.Read("A", "d"), "\"x'");
}

// Lookups go through an index of the parsed text; every edit moves lines.
TEST(ProfileLayout, LookupsFindTheFirstKeyAndSectionBeforeAndAfterEdits) {
    ProfileDocument doc("[A]\r\nk=1\r\nK=2\r\n[B]\r\nx=b\r\n[a]\r\nlate=3\r\n");
    EXPECT_EQ(doc.Read("a", "k"), "1");
    EXPECT_FALSE(doc.Read("A", "late").has_value());
    doc.Write("A", "new", "n");
    EXPECT_EQ(doc.Read("B", "x"), "b");
    EXPECT_EQ(doc.Read("A", "NEW"), "n");
    ASSERT_TRUE(doc.RemoveSection("a"));
    EXPECT_EQ(doc.Read("B", "x"), "b");
    EXPECT_EQ(doc.Read("A", "late"), "3");  // the second [a] is now the first
}

using SimProfileFiles = SimFixture;

TEST_F(SimProfileFiles, WritesGoThroughTheFileSystemInPlace) {
    WriteFile("C:\\WINDOWS\\system.ini", "[boot]\r\nshell = Explorer.exe \r\n");
    ASSERT_TRUE(M().Profiles().WriteString("SYSTEM.INI", "Boot", "drivers", "mm.dll"));
    EXPECT_EQ(HostRead(Root() / "drive_c/WINDOWS/system.ini"),
              "[boot]\r\nshell = Explorer.exe \r\ndrivers=mm.dll\r\n");
    {
        // The profile functions cannot write a file someone holds exclusively.
        auto held = M().Files().OpenReadExclusive("C:\\WINDOWS\\system.ini");
        EXPECT_FALSE(M().Profiles().WriteString("system.ini", "boot", "x", "y"));
        EXPECT_EQ(M().Profiles().ReadString("system.ini", "boot", "drivers", "unread"), "unread");
    }
    EXPECT_EQ(M().Profiles().ReadString("system.ini", "boot", "drivers", ""), "mm.dll");
}

}  // namespace
}  // namespace kav::platform::testing
