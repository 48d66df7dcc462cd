// install.exe's switches: what each fills in, and the lines refused before
// anything is done, each refusal naming its switch.
#include "app/stages/command_line.h"

#include <gtest/gtest.h>

namespace kav::app {
namespace {

TEST(CommandLineTest, EverySwitchFillsTheOneModelWhateverItsLetterCase) {
    const InstallCommandLine line = ParseInstallCommandLine(
        {"/verysilent", "/SuppressMsgBoxes", "/DIR=\"C:\\Tools\\Demo\"", "/type=WorkStation",
         "/FINISH=Launch", "/NORESTART", "/noicons", "/SHORTCUT=Read Me", "/NOSHORTCUT=Manual",
         "/ANSWER=File Already Exists*=yes", "/LOG=C:\\setup.log", "D:\\set"});
    const RunOptions& o = line.options;
    EXPECT_EQ(o.quietness, Quietness::VerySilent);
    EXPECT_TRUE(o.suppressMessageBoxes);
    EXPECT_EQ(o.answers.directory, "C:\\Tools\\Demo");
    EXPECT_TRUE(o.answers.workStation);
    EXPECT_FALSE(o.answers.fullInstall);
    EXPECT_EQ(o.answers.finish, Finish::Launch);
    EXPECT_TRUE(o.noRestart);
    EXPECT_TRUE(o.answers.noIcons);
    ASSERT_EQ(o.answers.shortcuts.size(), 2u);
    EXPECT_TRUE(o.answers.shortcuts[0].ticked);
    EXPECT_EQ(o.answers.shortcuts[1].name, "Manual");
    EXPECT_FALSE(o.answers.shortcuts[1].ticked);
    EXPECT_EQ(o.answers.ButtonFor("File Already Exists (a.txt). Overwrite?"), "Yes");
    EXPECT_TRUE(o.log);
    EXPECT_EQ(o.logFile, "C:\\setup.log");
    EXPECT_FALSE(o.help);
    EXPECT_EQ(line.arguments, std::vector<std::string>{"D:\\set"});

    // /SILENT does not lower /VERYSILENT; /LOG alone takes the dated name.
    const RunOptions quiet = ParseInstallCommandLine({"/VERYSILENT", "/SILENT", "/LOG"}).options;
    EXPECT_EQ(quiet.quietness, Quietness::VerySilent);
    EXPECT_TRUE(quiet.Unattended());
    EXPECT_TRUE(quiet.log);
    EXPECT_EQ(quiet.logFile, "");
    EXPECT_TRUE(ParseInstallCommandLine({"/?"}).options.help);
    EXPECT_TRUE(ParseInstallCommandLine({"/help"}).options.help);
    // Only the message boxes: the user still goes through the wizard.
    const RunOptions boxes = ParseInstallCommandLine({"/SUPPRESSMSGBOXES"}).options;
    EXPECT_TRUE(boxes.Unattended());
    EXPECT_FALSE(boxes.PlaysWizard());
    EXPECT_FALSE(ParseInstallCommandLine({}).options.Unattended());
}

TEST(CommandLineTest, BadLinesAreRefusedNamingTheSwitch) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"/QUIET"}, "/QUIET"},
        {{"/DIR"}, "/DIR"},
        {{"/DIR="}, "/DIR"},
        {{"/TYPE=minimal"}, "/TYPE"},
        {{"/FINISH=shutdown"}, "/FINISH"},
        {{"/SILENT=1"}, "/SILENT"},
        {{"/ANSWER=no button"}, "/ANSWER"},
        {{"/ANSWER=Overwrite*=Maybe"}, "/ANSWER"},
        {{"/SHORTCUT="}, "/SHORTCUT"},
        {{"/LOG="}, "/LOG"},
        {{"C:\\Program", "Files\\Set"}, "Files\\Set"},
    };
    for (const auto& [args, named] : refused) {
        try {
            ParseInstallCommandLine(args);
            ADD_FAILURE() << args.front() << " was taken";
        } catch (const ECommandLine& error) {
            EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
        }
    }
    // kavsetup tells switches from host paths by the switch's name alone.
    EXPECT_TRUE(IsSwitch("/Log=x"));
    EXPECT_FALSE(IsSwitch("/tmp/set"));
}

// /? lists each switch beside its meaning: on a console the meanings start in
// one column, apart from the widest switch, with no tab to land anywhere.
TEST(CommandLineTest, HelpListsEverySwitchBesideItsMeaningInOneColumn) {
    const std::string help = InstallSwitchesHelp();
    EXPECT_EQ(help.find('\t'), std::string::npos);
    std::size_t column = std::string::npos;
    for (const SwitchHelp& row : InstallSwitchRows()) {
        const std::string switches = row.switches;
        EXPECT_TRUE(IsSwitch(switches.substr(0, switches.find(',')))) << switches;
        const std::size_t at = help.find("  " + switches + "  ");
        ASSERT_NE(at, std::string::npos) << switches;
        const std::size_t meaning = help.find(row.meaning, at) - help.rfind('\n', at) - 1;
        if (column == std::string::npos) column = meaning;
        EXPECT_EQ(meaning, column) << switches;
    }
}

}  // namespace
}  // namespace kav::app
