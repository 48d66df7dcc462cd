#include "setup/install_configuration.h"

#include <gtest/gtest.h>

#include "support/test_machine.h"

namespace kav::setup {
namespace {

class ConfigurationTest : public testing::MachineTest {
protected:
    InstallConfiguration Load(const std::string& cfg) {
        WriteFile(Dir() + "\\install.cfg", cfg);
        return LoadInstallConfiguration(machine_->Profiles(), Dir() + "\\", look);
    }
    ScreenLook look{0xFF0000,
                    0,
                    {"design", "Impact", 26, 0, 0xFFFFFF},
                    {"credit", "Times New Roman", 10, 0, 0xFFFFFF}};
};

TEST_F(ConfigurationTest, MissingFileGivesTheDefaults) {
    const InstallConfiguration c =
        LoadInstallConfiguration(machine_->Profiles(), Dir() + "\\", look);
    EXPECT_EQ(c.Folder, "Accessories");
    EXPECT_TRUE(c.ShowWarningScreen);
    EXPECT_TRUE(c.ShowReBoot);
    EXPECT_TRUE(c.AlignLeft);
    EXPECT_FALSE(c.AddToProgramFiles || c.WorkStationPrompt || c.AlignCenter || c.AlignRight);
    EXPECT_EQ(c.Launch, "");
    for (const StringList* list :
         {&c.Directories, &c.Files, &c.Desktop, &c.IniSetup, &c.WorkStation, &c.AutoexecBat}) {
        EXPECT_TRUE(list->empty());
    }
    // The header's default is fixed; the other looks keep their current values.
    EXPECT_EQ(look.header.text, "KAV - Zephyrin 32Bit");
    EXPECT_EQ(look.header.fontName, "Impact");
    EXPECT_EQ(look.header.fontSize, 26);
    EXPECT_EQ(look.header2.text, "credit");
    EXPECT_EQ(look.fromColor, 0xFF0000u);
}

TEST_F(ConfigurationTest, OverwriteMarksFollowTheFilesOrderNotTheirKeyNames) {
    const auto c = Load(
        "[Files]\r\nz=one.txt~<INSTALLDIR>\r\ny=two.txt~<INSTALLDIR>\r\nx=three.txt~<WINDOWS>\r\n"
        "[Files - OverWrite]\r\nFile #1=1\r\n");
    EXPECT_EQ(c.Files, (StringList{"one.txt~<INSTALLDIR>~", "two.txt~<INSTALLDIR>~X",
                                   "three.txt~<WINDOWS>~"}));
}

TEST_F(ConfigurationTest, BooleansAreIntegersAndWordsAreUnreadable) {
    const auto c = Load(
        "[Setup - Main]\r\nShow Re-Boot=0\r\nShow Warning Screen=yes\r\nAlign Center=5\r\n"
        "Add to Program Files=-1\r\n[Files]\r\na=1\r\nb=2\r\n"
        "[Files - OverWrite]\r\nFile #0=5\r\nFile #1=yes\r\n");
    EXPECT_FALSE(c.ShowReBoot);
    EXPECT_TRUE(c.ShowWarningScreen);
    EXPECT_TRUE(c.AlignCenter);
    EXPECT_TRUE(c.AddToProgramFiles);
    EXPECT_EQ(c.Files, (StringList{"1~X", "2~"}));
}

TEST_F(ConfigurationTest, ColoursInEveryNotationAndHeaderLooks) {
    for (const char* red : {"0xFF", "$FF", "255", "0x000000FF"}) {
        look.fromColor = 0xFF0000;
        Load(std::string("[Setup - Main]\r\nDither From=") + red + "\r\n");
        EXPECT_EQ(look.fromColor, 0x0000FFu) << red;
    }
    Load(
        "[Setup - Main]\r\nDither To=green\r\nHeader=  My Tool  \r\nHeader Font Size=40\r\n"
        "Header Font Color=$00FF00\r\nHeader2 Font Name=Arial\r\n");
    EXPECT_EQ(look.toColor, 0u);  // unreadable: stays
    EXPECT_EQ(look.header.text, "My Tool");
    EXPECT_EQ(look.header.fontSize, 40);
    EXPECT_EQ(look.header.fontColor, 0x00FF00u);
    EXPECT_EQ(look.header2.fontName, "Arial");
    EXPECT_EQ(look.header2.text, "credit");
}

// Far more keys than one 8192-byte listing would hold (that stopped after
// F1549): every key is listed, in file order, and each one's overwrite mark
// is read.
TEST_F(ConfigurationTest, AListSectionOfAHundredThousandKeys) {
    std::string cfg = "[Files]\r\n";
    for (int i = 0; i < 100000; ++i) {
        cfg += "F" + std::to_string(i) + "=f" + std::to_string(i) + ".dat~<INSTALLDIR>\r\n";
    }
    cfg += "[Files - OverWrite]\r\nFile #1549=1\r\nFile #99999=1\r\n";
    const auto c = Load(cfg);
    ASSERT_EQ(c.Files.size(), 100000u);
    EXPECT_EQ(c.Files.front(), "f0.dat~<INSTALLDIR>~");
    EXPECT_EQ(c.Files[1549], "f1549.dat~<INSTALLDIR>~X");
    EXPECT_EQ(c.Files[1550], "f1550.dat~<INSTALLDIR>~");
    EXPECT_EQ(c.Files.back(), "f99999.dat~<INSTALLDIR>~X");
}

TEST_F(ConfigurationTest, ListsKeepFileOrderDuplicatesAndEmptyValues) {
    const auto c = Load(
        "[Directories]\r\nb=<INSTALLDIR>~bin\r\na=<INSTALLDIR>~lib\r\nc=\r\nd=<INSTALLDIR>~bin\r\n"
        "[desktop]\r\n1=Tool~<INSTALLDIR>\\tool.exe~X~X~~\r\n"
        "[INI - Setup]\r\nk=win.ini~Section~Key~Value\r\n[WorkStation]\r\nw=ws.txt~<WINDOWS>\r\n");
    EXPECT_EQ(c.Directories,
              (StringList{"<INSTALLDIR>~bin", "<INSTALLDIR>~lib", "", "<INSTALLDIR>~bin"}));
    EXPECT_EQ(c.Desktop, (StringList{"Tool~<INSTALLDIR>\\tool.exe~X~X~~"}));
    EXPECT_EQ(c.IniSetup, (StringList{"win.ini~Section~Key~Value"}));
    EXPECT_EQ(c.WorkStation, (StringList{"ws.txt~<WINDOWS>"}));
}

TEST_F(ConfigurationTest, AutoexecLinesContributeTheirKeyNames) {
    const auto c = Load("[AUTOEXEC.BAT]\r\nSET TEMP=C:\\TEMP\r\nPATH %PATH%;C:\\TOOL\r\n");
    EXPECT_EQ(c.AutoexecBat, (StringList{"SET TEMP", "PATH %PATH%;C:\\TOOL"}));
}

TEST_F(ConfigurationTest, AlignRightAloneStillLeavesAlignLeftTrue) {
    const auto c = Load("[Setup - Main]\r\nAlign Right=1\r\n");
    EXPECT_TRUE(c.AlignRight);
    EXPECT_TRUE(c.AlignLeft);
}

TEST_F(ConfigurationTest, ScalarSettingsAndLongValues) {
    const std::string longDir(1500, 'd');
    const auto c = Load("[setup - main]\r\ninstall disks=$3\r\nInstall Dir=" + longDir +
                        "\r\nLaunch=<INSTALLDIR>\\tool.exe\r\nFolder=\r\nBitmap File=logo.gif\r\n"
                        "Work Station Prompt=1\r\n");
    EXPECT_EQ(c.InstallDisks, 3);
    EXPECT_EQ(c.InstallDir, std::string(1023, 'd'));
    EXPECT_EQ(c.Launch, "<INSTALLDIR>\\tool.exe");
    EXPECT_EQ(c.Folder, "");
    EXPECT_EQ(c.BitmapFile, "logo.gif");
    EXPECT_TRUE(c.WorkStationPrompt);
}

}  // namespace
}  // namespace kav::setup
