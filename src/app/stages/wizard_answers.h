#pragma once
// The answers of an unattended user: how to go through the wizard and how
// to answer the program's questions. Both front ends take them from the
// same model: kavsetup's options (--dir, --workstation, --full, --finish,
// --start-menu-folder, --desktop-folder, --no-shortcut, --shortcut,
// --no-icons, --decline, --cancel-at, --answer) and install.exe's switches
// (command_line.h), which kavsetup takes as well.
#include <optional>
#include <string>
#include <vector>

namespace kav::app {

enum class Finish { Launch, Return, Reboot };

struct WizardAnswers {
    // Typed into the chooser and confirmed with OK.
    std::optional<std::string> directory;
    bool workStation = false;
    bool fullInstall = false;
    std::optional<Finish> finish;
    std::optional<bool> startMenuFolder;
    std::optional<bool> desktopFolder;
    struct Shortcut {
        std::string name;
        bool ticked;
    };
    std::vector<Shortcut> shortcuts;
    // No program folder and no shortcut at all.
    bool noIcons = false;
    bool decline = false;
    // The page on which Cancel is pressed.
    std::optional<int> cancelAt;
    struct QuestionRule {
        std::string glob;    // matched against the whole question text
        std::string button;  // "OK", "Yes", "No", "Abort" or "Cancel"
    };
    std::vector<QuestionRule> questions;

    // The button of the first rule whose glob matches `text`.
    std::optional<std::string> ButtonFor(const std::string& text) const;
};

// Takes the option at args[i] (and its value, advancing i) into `answers`.
// Returns false when args[i] is not one of these options; throws
// std::invalid_argument for a bad or missing value.
bool TakeWizardOption(const std::vector<std::string>& args, std::size_t& i, WizardAnswers& answers);

// The value of a finish option ("launch", "return" or "reboot", in any
// letter case); throws std::invalid_argument naming `option` otherwise.
Finish ParseFinish(const std::string& option, const std::string& value);
// A question rule from "TEXT=BUTTON": the glob is everything before the last
// "=", the button one of OK, Yes, No, Abort or Cancel in any letter case;
// throws std::invalid_argument naming `option` otherwise.
WizardAnswers::QuestionRule ParseQuestionRule(const std::string& option, const std::string& value);

// The options' lines of a usage text.
const char* WizardOptionsUsage();

}  // namespace kav::app
