#include "app/stages/wizard_answers.h"

#include <cctype>
#include <stdexcept>

#include "base/ascii_case.h"

namespace kav::app {
namespace {

const std::vector<std::string> kButtons = {"OK", "Yes", "No", "Abort", "Cancel"};

bool YesNo(const std::string& option, const std::string& value) {
    if (value == "yes") return true;
    if (value == "no") return false;
    throw std::invalid_argument(option + " takes yes or no, not \"" + value + "\"");
}

// Whether `text` matches `glob` as a whole: "*" stands for any run of
// characters (line breaks too), "?" for any one.
bool GlobMatches(const char* glob, const char* text) {
    const char* starGlob = nullptr;
    const char* starText = nullptr;
    while (*text != '\0') {
        if (*glob == '*') {
            starGlob = ++glob;
            starText = text;
        } else if (*glob == '?' || *glob == *text) {
            ++glob;
            ++text;
        } else if (starGlob != nullptr) {
            glob = starGlob;
            text = ++starText;
        } else {
            return false;
        }
    }
    while (*glob == '*') ++glob;
    return *glob == '\0';
}

}  // namespace

std::optional<std::string> WizardAnswers::ButtonFor(const std::string& text) const {
    for (const QuestionRule& rule : questions) {
        if (GlobMatches(rule.glob.c_str(), text.c_str())) return rule.button;
    }
    return std::nullopt;
}

bool TakeWizardOption(const std::vector<std::string>& args, std::size_t& i,
                      WizardAnswers& answers) {
    const std::string& option = args[i];
    auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw std::invalid_argument(option + " needs a value");
        return args[++i];
    };
    if (option == "--dir") {
        answers.directory = value();
    } else if (option == "--workstation") {
        answers.workStation = true;
    } else if (option == "--full") {
        answers.fullInstall = true;
    } else if (option == "--finish") {
        answers.finish = ParseFinish(option, value());
    } else if (option == "--start-menu-folder") {
        answers.startMenuFolder = YesNo(option, value());
    } else if (option == "--desktop-folder") {
        answers.desktopFolder = YesNo(option, value());
    } else if (option == "--no-shortcut" || option == "--shortcut") {
        answers.shortcuts.push_back({value(), option == "--shortcut"});
    } else if (option == "--no-icons") {
        answers.noIcons = true;
    } else if (option == "--decline") {
        answers.decline = true;
    } else if (option == "--cancel-at") {
        const std::string& v = value();
        if (v.size() != 1 || v[0] < '0' || v[0] > '5') {
            throw std::invalid_argument("--cancel-at takes a page index from 0 to 5");
        }
        answers.cancelAt = v[0] - '0';
    } else if (option == "--answer") {
        answers.questions.push_back(ParseQuestionRule(option, value()));
    } else {
        return false;
    }
    return true;
}

Finish ParseFinish(const std::string& option, const std::string& value) {
    if (base::SameTextIgnoringAsciiCase(value, "launch")) return Finish::Launch;
    if (base::SameTextIgnoringAsciiCase(value, "return")) return Finish::Return;
    if (base::SameTextIgnoringAsciiCase(value, "reboot")) return Finish::Reboot;
    throw std::invalid_argument(option + " takes launch, return or reboot, not \"" + value + "\"");
}

WizardAnswers::QuestionRule ParseQuestionRule(const std::string& option, const std::string& value) {
    const auto equals = value.rfind('=');
    if (equals == std::string::npos) throw std::invalid_argument(option + " takes TEXT=BUTTON");
    const std::string button = value.substr(equals + 1);
    for (const std::string& known : kButtons) {
        if (base::SameTextIgnoringAsciiCase(known, button)) return {value.substr(0, equals), known};
    }
    throw std::invalid_argument(option + ": unknown button \"" + button + "\"");
}

const char* WizardOptionsUsage() {
    return "  --dir PATH                 destination typed in the chooser and confirmed\n"
           "  --workstation | --full     the kind of install, when it is asked\n"
           "  --finish launch|return|reboot   what happens at the end\n"
           "  --start-menu-folder yes|no, --desktop-folder yes|no   the folder boxes\n"
           "  --no-shortcut NAME, --shortcut NAME   untick or tick a shortcut (repeatable)\n"
           "  --no-icons                 no program folder and no shortcuts\n"
           "  --decline                  decline the licence\n"
           "  --cancel-at PAGE           press Cancel on page PAGE (0 to 5)\n"
           "  --answer TEXT=BUTTON       answer questions matching the glob TEXT\n"
           "                             (OK, Yes, No, Abort or Cancel; repeatable)\n";
}

}  // namespace kav::app
