#pragma once
// The values of one run that every stage reads, owned by the setup sequence
// for the whole run so that they outlive the windows that set them.
#include <memory>
#include <string>

#include "setup/expanded_files.h"
#include "setup/final_choice.h"
#include "setup/install_configuration.h"

namespace kav::setup {

struct RunState {
    // Ends in "\" (a drive root such as "A:\" has its own).
    std::string sourceDirectory;
    // The directory named on the command line, fully qualified; empty when
    // there was none or it could not be entered.
    std::string argumentDirectory;
    // The first three characters of the Windows directory, e.g. "C:\".
    std::string systemDriveRoot;
    // The Windows directory + "\Temp\q", without a trailing "\".
    std::string temporaryDirectory;
    // Where the expansion put each file in it.
    ExpandedFiles expanded;
    // Null before start-up has loaded it and after close has released it.
    std::unique_ptr<InstallConfiguration> configuration;
    // True when the installation was abandoned or failed.
    bool cancelled = false;
    FinalChoice finalChoice;
    // Start-up settled the directories and read the script; a run that did
    // not get this far ends without any ending of its own.
    bool startedUp = false;
    // A restart the ending would make is left to the user (/NORESTART);
    // restartDeclined says that one was wanted.
    bool noRestart = false;
    bool restartDeclined = false;

    // Where the temporary directory holds the file `name`.
    std::string TemporaryFile(const std::string& name) const {
        return expanded.PathOf(temporaryDirectory, name);
    }

    // Marks the run abandoned. An abandoned run never restarts Windows.
    void Cancel() {
        cancelled = true;
        finalChoice.reboot.SetChecked(false);
    }
};

}  // namespace kav::setup
