#pragma once
// The command line of an unattended run: install.exe's switches (kavsetup
// takes them too). They fill the one answers model the wizard player
// follows, and say how quiet the run is, whether it may restart Windows and
// where its log goes. Switch names and their word values are matched
// without regard to letter case.
#include <string>
#include <vector>

#include "app/stages/wizard_answers.h"
#include "platform/exception.h"

namespace kav::app {

// A switch that is unknown or has a bad value; the message names it.
class ECommandLine : public kav::Exception {
public:
    using kav::Exception::Exception;
};

enum class Quietness {
    Normal,      // the user goes through the wizard
    Silent,      // the windows are shown, nothing is asked
    VerySilent,  // no window at all
};

struct RunOptions {
    WizardAnswers answers;
    Quietness quietness = Quietness::Normal;
    bool suppressMessageBoxes = false;
    // A restart the run would make is not made; the exit status says so.
    bool noRestart = false;
    bool log = false;
    // Empty: a dated name in the temporary folder.
    std::string logFile;
    bool help = false;

    // Questions get their unattended default (or an /ANSWER) and message
    // boxes are not shown.
    bool Unattended() const { return suppressMessageBoxes || quietness != Quietness::Normal; }
    // The wizard is gone through by the answers instead of by the user.
    bool PlaysWizard() const { return quietness != Quietness::Normal; }
};

// Whether `argument` ("/NAME" or "/NAME=VALUE") names one of the switches.
bool IsSwitch(const std::string& argument);
// Takes the switch `argument` into `options`; throws ECommandLine when it is
// unknown or its value is missing or malformed.
void TakeSwitch(const std::string& argument, RunOptions& options);

struct InstallCommandLine {
    RunOptions options;
    // The directory holding the set, when one is named.
    std::vector<std::string> arguments;
};

// install.exe's command line: switches anywhere, at most one directory.
// Throws ECommandLine before anything has been done with it.
InstallCommandLine ParseInstallCommandLine(const std::vector<std::string>& args);

// One row of the switch list: the switch as written, what it does.
struct SwitchHelp {
    const char* switches;
    const char* meaning;
};

// What /? shows: the usage line, the switches in two columns, then the exit
// statuses.
const char* InstallUsageLine();
const std::vector<SwitchHelp>& InstallSwitchRows();
const char* InstallExitStatusHelp();

// The same as one text for a console: the meanings start in one column.
std::string InstallSwitchesHelp();

}  // namespace kav::app
