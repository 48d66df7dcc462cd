#include "app/stages/command_line.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

#include "base/ascii_case.h"

namespace kav::app {
namespace {

struct Switch {
    std::string name;  // upper case, with its "/"
    std::optional<std::string> value;
};

Switch Split(const std::string& argument) {
    const auto equals = argument.find('=');
    Switch result{base::AsciiUpper(argument.substr(0, equals)), std::nullopt};
    if (equals == std::string::npos) return result;
    std::string value = argument.substr(equals + 1);
    // A shell that passes the quotes on leaves them around the value.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    result.value = value;
    return result;
}

enum class Takes { Nothing, Value, MaybeValue };

struct Known {
    const char* name;
    Takes takes;
};

constexpr Known kSwitches[] = {
    {"/SILENT", Takes::Nothing},
    {"/VERYSILENT", Takes::Nothing},
    {"/SUPPRESSMSGBOXES", Takes::Nothing},
    {"/DIR", Takes::Value},
    {"/TYPE", Takes::Value},
    {"/FINISH", Takes::Value},
    {"/NORESTART", Takes::Nothing},
    {"/NOICONS", Takes::Nothing},
    {"/SHORTCUT", Takes::Value},
    {"/NOSHORTCUT", Takes::Value},
    {"/ANSWER", Takes::Value},
    {"/LOG", Takes::MaybeValue},
    {"/?", Takes::Nothing},
    {"/HELP", Takes::Nothing},
};

const Known* Find(const std::string& upperName) {
    for (const Known& known : kSwitches) {
        if (upperName == known.name) return &known;
    }
    return nullptr;
}

// The switch's value, checked against what the switch takes.
std::string ValueOf(const Known& known, const Switch& given) {
    const std::string name = known.name;
    if (known.takes == Takes::Nothing && given.value) {
        throw ECommandLine(name + " takes no value");
    }
    if (known.takes == Takes::Value && (!given.value || given.value->empty())) {
        throw ECommandLine(name + " needs a value: " + name + "=...");
    }
    if (known.takes == Takes::MaybeValue && given.value && given.value->empty()) {
        throw ECommandLine(name + "= names no file");
    }
    return given.value.value_or("");
}

}  // namespace

bool IsSwitch(const std::string& argument) {
    return !argument.empty() && argument[0] == '/' && Find(Split(argument).name) != nullptr;
}

void TakeSwitch(const std::string& argument, RunOptions& options) {
    const Switch given = Split(argument);
    const Known* known = Find(given.name);
    if (known == nullptr) throw ECommandLine("Unknown switch " + given.name);
    const std::string value = ValueOf(*known, given);
    const std::string& name = given.name;
    WizardAnswers& answers = options.answers;
    try {
        if (name == "/SILENT") {
            if (options.quietness == Quietness::Normal) options.quietness = Quietness::Silent;
        } else if (name == "/VERYSILENT") {
            options.quietness = Quietness::VerySilent;
        } else if (name == "/SUPPRESSMSGBOXES") {
            options.suppressMessageBoxes = true;
        } else if (name == "/DIR") {
            answers.directory = value;
        } else if (name == "/TYPE") {
            const std::string type = base::AsciiUpper(value);
            if (type != "FULL" && type != "WORKSTATION") {
                throw ECommandLine("/TYPE takes full or workstation, not \"" + value + "\"");
            }
            answers.fullInstall = type == "FULL";
            answers.workStation = type == "WORKSTATION";
        } else if (name == "/FINISH") {
            answers.finish = ParseFinish(name, value);
        } else if (name == "/NORESTART") {
            options.noRestart = true;
        } else if (name == "/NOICONS") {
            answers.noIcons = true;
        } else if (name == "/SHORTCUT" || name == "/NOSHORTCUT") {
            answers.shortcuts.push_back({value, name == "/SHORTCUT"});
        } else if (name == "/ANSWER") {
            answers.questions.push_back(ParseQuestionRule(name, value));
        } else if (name == "/LOG") {
            options.log = true;
            options.logFile = value;
        } else {
            options.help = true;
        }
    } catch (const std::invalid_argument& error) {
        throw ECommandLine(error.what());
    }
}

InstallCommandLine ParseInstallCommandLine(const std::vector<std::string>& args) {
    InstallCommandLine line;
    for (const std::string& argument : args) {
        if (!argument.empty() && argument[0] == '/') {
            TakeSwitch(argument, line.options);
        } else if (line.arguments.empty()) {
            line.arguments.push_back(argument);
        } else {
            // Most often a path with spaces that lost its quotes.
            throw ECommandLine("Only one directory may be named; \"" + argument +
                               "\" is a second one (put a path with spaces in quotes)");
        }
    }
    return line;
}

const char* InstallUsageLine() { return "install [DIRECTORY] [switches]"; }

const std::vector<SwitchHelp>& InstallSwitchRows() {
    static const std::vector<SwitchHelp> rows = {
        {"/SILENT", "show the windows, ask nothing"},
        {"/VERYSILENT", "show nothing at all"},
        {"/SUPPRESSMSGBOXES", "answer message boxes with their unattended default"},
        {"/DIR=\"PATH\"", "install into PATH"},
        {"/TYPE=full|workstation", "the kind of install, when it is asked"},
        {"/FINISH=launch|return|reboot", "what happens at the end"},
        {"/NORESTART", "make no restart (exit status 5 when one is needed)"},
        {"/NOICONS", "no program folder and no shortcuts"},
        {"/SHORTCUT=NAME", "tick a shortcut"},
        {"/NOSHORTCUT=NAME", "untick a shortcut"},
        {"/ANSWER=\"TEXT=BUTTON\"",
         "answer questions matching TEXT (* and ?) with OK, Yes, No, Abort or Cancel"},
        {"/LOG, /LOG=\"FILE\"", "write a log of the run"},
        {"/?, /HELP", "show this list"},
    };
    return rows;
}

const char* InstallExitStatusHelp() {
    return "Exit status: 0 installed, 1 bad command line, 2 cancelled,\n"
           "3 the set could not be expanded, 4 the install failed part-way,\n"
           "5 installed, restart needed";
}

std::string InstallSwitchesHelp() {
    std::size_t column = 0;
    for (const SwitchHelp& row : InstallSwitchRows())
        column = std::max(column, std::string(row.switches).size());
    std::string text = std::string(InstallUsageLine()) + "\n";
    for (const SwitchHelp& row : InstallSwitchRows()) {
        const std::string switches = row.switches;
        text +=
            "  " + switches + std::string(column - switches.size() + 2, ' ') + row.meaning + "\n";
    }
    return text + InstallExitStatusHelp() + "\n";
}

}  // namespace kav::app
