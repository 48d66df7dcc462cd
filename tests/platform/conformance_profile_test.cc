// Profile files, on either machine. Files are written in the compact form
// "key=value" without blank lines, so that a machine that rewrites the whole
// file and one that edits it in place give the same lines.
#include "conformance_fixture.h"

namespace kav::platform::testing {
namespace {

class ProfileConformance : public PlatformConformance {
protected:
    std::string Ini() const { return InScratch("test.ini"); }
    std::vector<std::string> Lines() { return NonBlankLines(ReadFile(Ini())); }
};

TEST_F(ProfileConformance, ReadsAsTheProfileFunctionsDo) {
    WriteFile(Ini(),
              "[Setup - Main]\r\n"
              "  Folder  =   My Tools   \r\n"
              "Quoted=\"  inside  \"\r\n"
              "Empty=\r\n"
              "[Second]\r\n"
              "Key=second\r\n"
              "[setup - main]\r\n"
              "Later=never seen\r\n");
    EXPECT_EQ(Profiles().ReadString(Ini(), "SETUP - MAIN", "folder", "d"), "My Tools");
    EXPECT_EQ(Profiles().ReadString(Upper(Ini()), "Setup - Main", "Quoted", "d"), "  inside  ");
    EXPECT_EQ(Profiles().ReadString(Ini(), "Setup - Main", "Empty", "d"), "");
    EXPECT_EQ(Profiles().ReadString(Ini(), "Second", "Key", "d"), "second");
    // Only the first section of a name counts.
    EXPECT_EQ(Profiles().ReadString(Ini(), "Setup - Main", "Later", "dflt"), "dflt");
    EXPECT_EQ(Profiles().ReadString(Ini(), "Setup - Main", "Missing", "dflt"), "dflt");
    EXPECT_EQ(Profiles().ReadString(Ini(), "Missing", "Folder", "dflt"), "dflt");
    EXPECT_EQ(Profiles().ReadString(InScratch("none.ini"), "Setup - Main", "Folder", "Accessories"),
              "Accessories");
    // The default loses its trailing blanks.
    EXPECT_EQ(Profiles().ReadString(Ini(), "Missing", "x", " def  "), " def");
}

TEST_F(ProfileConformance, LongValuesAreCutTo1023Characters) {
    const std::string value(1500, 'v');
    WriteFile(Ini(), "[S]\r\nk=" + value + "\r\nshort=" + value.substr(0, 1023) + "\r\n");
    EXPECT_EQ(Profiles().ReadString(Ini(), "S", "k", ""), value.substr(0, 1023));
    EXPECT_EQ(Profiles().ReadString(Ini(), "S", "short", ""), value.substr(0, 1023));
}

TEST_F(ProfileConformance, KeysAreListedInFileOrder) {
    WriteFile(Ini(),
              "[Directories]\r\nb=2\r\n;note=skipped\r\na=1\r\nB2=3\r\n"
              "[Other]\r\nx=1\r\n[directories]\r\nlater=4\r\n");
    EXPECT_EQ(Profiles().ListKeys(Ini(), "DIRECTORIES"),
              (std::vector<std::string>{"b", "a", "B2"}));
    EXPECT_EQ(Profiles().ListKeys(Ini(), "Other"), std::vector<std::string>{"x"});
    EXPECT_TRUE(Profiles().ListKeys(Ini(), "Missing").empty());
    EXPECT_TRUE(Profiles().ListKeys(InScratch("none.ini"), "Directories").empty());
}

TEST_F(ProfileConformance, KeyListingHoldsEveryNameHoweverLong) {
    // 3000 names of 10 characters: with their zeros far beyond the 8192
    // bytes a single listing buffer of the profile functions would hold.
    std::string text = "[K]\r\n";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        names.push_back("key" + std::string(7 - std::to_string(i).size(), '0') + std::to_string(i));
        text += names.back() + "=v\r\n";
    }
    WriteFile(Ini(), text + "[Next]\r\nafter=1\r\n");
    EXPECT_EQ(Profiles().ListKeys(Ini(), "K"), names);
    EXPECT_EQ(Profiles().ListKeys(Ini(), "Next"), std::vector<std::string>{"after"});
}

TEST_F(ProfileConformance, ASectionsValuesReadInOneGoAreThoseReadKeyByKey) {
    const std::string longValue(1500, 'v');
    std::string text =
        "[Files]\r\n  a.txt  =  one  \r\n;note=skipped\r\nQ=\"  quoted  \"\r\nA.TXT=second\r\n"
        "nothing\r\nlong=" +
        longValue + "\r\n";
    for (int i = 0; i < 1500; ++i)
        text += "f" + std::to_string(i) + "=file" + std::to_string(i) + "\r\n";
    WriteFile(Ini(), text + "[files]\r\nlater=never seen\r\n");
    const auto values = Profiles().ReadSectionValues(Ini(), "FILES");
    const auto keys = Profiles().ListKeys(Ini(), "Files");
    ASSERT_EQ(values.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(values[i].first, keys[i]);
        EXPECT_EQ(values[i].second, Profiles().ReadString(Ini(), "Files", keys[i], "")) << keys[i];
    }
    ASSERT_GE(values.size(), 5u);
    EXPECT_EQ(values[0].second, "one");
    EXPECT_EQ(values[1].second, "  quoted  ");
    EXPECT_EQ(values[2].second, "one");  // a key named again reads as its first line
    EXPECT_EQ(values[4].second, longValue.substr(0, 1023));
    EXPECT_EQ(values.back(), (std::pair<std::string, std::string>{"f1499", "file1499"}));
    EXPECT_TRUE(Profiles().ReadSectionValues(Ini(), "Missing").empty());
    EXPECT_TRUE(Profiles().ReadSectionValues(InScratch("none.ini"), "Files").empty());
}

TEST_F(ProfileConformance, WritingCreatesTheFileAndSectionsInOrder) {
    ASSERT_TRUE(Profiles().WriteString(Ini(), "Program", "Title", "Tool 1.0"));
    ASSERT_TRUE(Profiles().WriteString(Ini(), "UNINS", "C:\\Apps\\*.*", ""));
    ASSERT_TRUE(Profiles().WriteString(Ini(), "unins", "C:\\Apps\\a.txt", ""));
    ASSERT_TRUE(Profiles().WriteString(Ini(), "Program", "Version", "1"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Program]", "Title=Tool 1.0", "Version=1",
                                                 "[UNINS]", "C:\\Apps\\*.*=", "C:\\Apps\\a.txt="}));
    EXPECT_EQ(Profiles().ReadString(Ini(), "program", "TITLE", ""), "Tool 1.0");
}

TEST_F(ProfileConformance, RewritingAKeyKeepsItsLine) {
    WriteFile(Ini(), "[A]\r\nfirst=1\r\nKey=old\r\nlast=3\r\n[B]\r\nx=1\r\n");
    ASSERT_TRUE(Profiles().WriteString(Ini(), "a", "KEY", "new"));
    ASSERT_TRUE(Profiles().WriteString(Ini(), "A", "added", "4"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[A]", "first=1", "Key=new", "last=3", "added=4",
                                                 "[B]", "x=1"}));
    EXPECT_EQ(Profiles().ListKeys(Ini(), "A"),
              (std::vector<std::string>{"first", "Key", "last", "added"}));
}

TEST_F(ProfileConformance, AFileNameWithoutDirectoryIsInTheWindowsDirectory) {
    const std::string name = "kav" + Unique() + ".ini";
    const std::string inWindows = M().SystemDirs().WindowsDirectory() + "\\" + name;
    ASSERT_TRUE(Profiles().WriteString(name, "boot", "shell", "x"));
    EXPECT_TRUE(Files().FileExists(inWindows));
    EXPECT_EQ(Profiles().ReadString(inWindows, "boot", "shell", ""), "x");
    EXPECT_EQ(Profiles().ListKeys(name, "boot"), std::vector<std::string>{"shell"});
    EXPECT_TRUE(Files().RemoveFile(inWindows));
}

TEST_F(ProfileConformance, AFileThatCannotBeWrittenIsLeftAlone) {
    EXPECT_FALSE(Profiles().WriteString(InScratch("missing\\x.ini"), "S", "k", "v"));
    EXPECT_FALSE(Files().FileExists(InScratch("missing\\x.ini")));

    WriteFile(Ini(), "[S]\r\nk=v\r\n");
    ASSERT_TRUE(Files().SetAttributes(Ini(), faReadOnly));
    EXPECT_FALSE(Profiles().WriteString(Ini(), "S", "k", "changed"));
    EXPECT_EQ(Profiles().ReadString(Ini(), "S", "k", ""), "v");
    ASSERT_TRUE(Files().SetAttributes(Ini(), faNormal));
}

TEST_F(ProfileConformance, RemoveSectionTakesItsKeysAlong) {
    WriteFile(Ini(), "[Program]\r\nTitle=T\r\n[UNINS]\r\na=\r\nb=\r\n[Folders]\r\nf=\r\n");
    ASSERT_TRUE(Profiles().RemoveSection(Ini(), "unins"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Program]", "Title=T", "[Folders]", "f="}));
    EXPECT_TRUE(Profiles().ListKeys(Ini(), "UNINS").empty());

    EXPECT_TRUE(Profiles().RemoveSection(Ini(), "Registry"));  // missing: no error
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Program]", "Title=T", "[Folders]", "f="}));
    EXPECT_TRUE(Profiles().RemoveSection(InScratch("none.ini"), "UNINS"));
    EXPECT_FALSE(Files().FileExists(InScratch("none.ini")));

    // A section written again after removal starts afresh at the end.
    ASSERT_TRUE(Profiles().WriteString(Ini(), "UNINS", "c", ""));
    EXPECT_EQ(Profiles().ListKeys(Ini(), "UNINS"), std::vector<std::string>{"c"});
    EXPECT_EQ(Lines().back(), "c=");
}

TEST_F(ProfileConformance, RemoveKeyTakesOneLine) {
    WriteFile(Ini(), "[Options]\r\nPath=a\r\nData=b\r\n[Other]\r\nPath=c\r\n");
    ASSERT_TRUE(Profiles().RemoveKey(Ini(), "OPTIONS", "path"));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Options]", "Data=b", "[Other]", "Path=c"}));
    EXPECT_TRUE(Profiles().RemoveKey(Ini(), "Options", "Missing"));
    EXPECT_TRUE(Profiles().RemoveKey(InScratch("none.ini"), "Options", "Path"));
    EXPECT_FALSE(Files().FileExists(InScratch("none.ini")));
}

}  // namespace
}  // namespace kav::platform::testing
