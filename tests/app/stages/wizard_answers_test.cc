// The unattended user's options and how its question rules match.
#include "app/stages/wizard_answers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kav::app {
namespace {

WizardAnswers Parse(std::vector<std::string> args) {
    WizardAnswers answers;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!TakeWizardOption(args, i, answers)) throw std::logic_error("not taken: " + args[i]);
    }
    return answers;
}

TEST(WizardAnswersTest, QuestionRulesMatchTheWholeTextAndTheFirstMatchWins) {
    const WizardAnswers answers =
        Parse({"--answer", "Create New*[C:\\?ool] ?=No", "--answer", "*=Yes"});
    EXPECT_EQ(answers.ButtonFor("Create New Directory for Installation [C:\\Tool] ?"), "No");
    EXPECT_EQ(answers.ButtonFor("Create New Directory for Installation [C:\\Tools] ?"), "Yes");
    EXPECT_EQ(Parse({"--answer", "Abort*=Abort"}).ButtonFor("Abort Setup Process ?"), "Abort");
    EXPECT_EQ(Parse({"--answer", "Abort=Abort"}).ButtonFor("Abort Setup Process ?"), std::nullopt);
    // A star runs over line breaks; the last "=" separates the button.
    EXPECT_EQ(Parse({"--answer", "a=b*c=OK"}).ButtonFor("a=b\r\rc"), "OK");
}

TEST(WizardAnswersTest, OptionsTakeTheirValuesAndRefuseBadOnes) {
    const WizardAnswers answers =
        Parse({"--dir", "D:\\X", "--finish", "launch", "--desktop-folder", "no", "--no-shortcut",
               "A", "--shortcut", "B", "--cancel-at", "3", "--workstation", "--decline"});
    EXPECT_EQ(answers.directory, "D:\\X");
    EXPECT_EQ(answers.finish, Finish::Launch);
    EXPECT_EQ(answers.desktopFolder, false);
    EXPECT_EQ(answers.startMenuFolder, std::nullopt);
    ASSERT_EQ(answers.shortcuts.size(), 2u);
    EXPECT_FALSE(answers.shortcuts[0].ticked);
    EXPECT_TRUE(answers.shortcuts[1].ticked);
    EXPECT_EQ(answers.cancelAt, 3);
    EXPECT_TRUE(answers.workStation && answers.decline);

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--dir"},
                                               {"--finish", "later"},
                                               {"--cancel-at", "6"},
                                               {"--start-menu-folder", "1"},
                                               {"--answer", "text"},
                                               {"--answer", "text=Maybe"}}) {
        EXPECT_THROW(Parse(bad), std::invalid_argument) << bad[0];
    }
    std::vector<std::string> other{"--media"};
    std::size_t i = 0;
    WizardAnswers untouched;
    EXPECT_FALSE(TakeWizardOption(other, i, untouched));
}

}  // namespace
}  // namespace kav::app
