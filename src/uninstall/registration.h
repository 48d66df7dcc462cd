#pragma once
// The product's entry in Windows' list of installed programs, as the
// uninstaller and the simulated machine find it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace kav::uninstall {

struct Registration {
    std::string displayName;
    std::string program;    // the uninstaller's full path
    std::string arguments;  // what follows it: the title
    // The uninstall script beside the program.
    std::string ScriptFile() const;
};

// The registration of `title`, or nothing when there is none or its
// UninstallString names no program.
std::optional<Registration> FindRegistration(platform::Registry& registry,
                                             const std::string& title);

// An UninstallString taken apart: the program is everything up to and
// including the first ".exe" that ends a word (the path may hold blanks and
// is not quoted), or the quoted first word; the arguments follow it.
std::optional<Registration> SplitUninstallString(const std::string& command);

// The uninstaller's command line: its words beginning with "/" are
// switches; the rest, as written, is the title. Quotes are the command
// line's own: a quoted part counts as written between them, blanks and
// slashes included, and is never a switch.
struct UninstallCommand {
    std::string title;
    // The first word that looked like a switch and is none ("" when every
    // one was known): the command line is then refused.
    std::string unknownSwitch;
    bool silent = false;      // /SILENT: no question, the progress shows
    bool verySilent = false;  // /VERYSILENT: no question and no window
    // /SUPPRESSMSGBOXES: no message box; the question is taken as Yes.
    bool suppressMessageBoxes = false;
    // /FOLDER=path: the run of the uninstaller's copy in the temporary
    // directory, for the product in that install folder.
    std::string folder;
    // /WAITFOR=id: the process of the original uninstaller, whose end the
    // copy waits for before it removes the original's file (0: none).
    std::uint32_t waitFor = 0;
    // Whether boxes that wait for a click may be shown.
    bool Attended() const { return !silent && !verySilent && !suppressMessageBoxes; }
    bool IsCopy() const { return !folder.empty(); }
};
UninstallCommand ParseUninstallCommand(const std::string& arguments);
inline constexpr std::string_view kFolderSwitch = "/FOLDER=";
inline constexpr std::string_view kWaitForSwitch = "/WAITFOR=";

}  // namespace kav::uninstall
