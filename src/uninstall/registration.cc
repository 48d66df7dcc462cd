#include "uninstall/registration.h"

#include "base/ascii_case.h"
#include "install/directory_table.h"
#include "install/uninstall_script.h"
#include "uninstall/uninstall_record.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

// Digits that fit a process id.
bool IsProcessId(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::string Registration::ScriptFile() const {
    const std::size_t cut = program.find_last_of('\\');
    return (cut == std::string::npos ? std::string() : program.substr(0, cut + 1)) +
           "uninstall.cfg";
}

std::optional<Registration> FindRegistration(platform::Registry& registry,
                                             const std::string& title) {
    if (title.empty() || title.find('\\') != std::string::npos) return std::nullopt;
    const std::string key = install::UninstallKey(title);
    const auto command =
        registry.ReadStringValue(platform::RootKey::LocalMachine, key, "UninstallString");
    if (!command) return std::nullopt;
    auto registration = SplitUninstallString(*command);
    if (!registration) return std::nullopt;
    registration->displayName =
        registry.ReadStringValue(platform::RootKey::LocalMachine, key, "DisplayName")
            .value_or(std::string());
    return registration;
}

std::optional<Registration> SplitUninstallString(const std::string& command) {
    const std::string text = TrimBlanks(command);
    Registration registration;
    if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        if (close == std::string::npos) return std::nullopt;
        registration.program = text.substr(1, close - 1);
        registration.arguments = TrimBlanks(text.substr(close + 1));
        return registration;
    }
    const std::string upper = base::AsciiUpper(text);
    for (std::size_t at = upper.find(".EXE"); at != std::string::npos;
         at = upper.find(".EXE", at + 1)) {
        const std::size_t end = at + 4;
        if (end == text.size() || text[end] == ' ') {
            registration.program = text.substr(0, end);
            registration.arguments = TrimBlanks(text.substr(end));
            return registration;
        }
    }
    return std::nullopt;
}

UninstallCommand ParseUninstallCommand(const std::string& arguments) {
    UninstallCommand command;
    std::string title;
    std::size_t at = 0;
    while (at < arguments.size()) {
        const std::size_t start = arguments.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        std::string word;
        std::size_t end = start;
        bool quoted = false;
        // A word runs to the next blank outside quotes; its quotes go.
        while (end < arguments.size() &&
               (quoted || (arguments[end] != ' ' && arguments[end] != '\t'))) {
            if (arguments[end] == '"') {
                quoted = !quoted;
            } else {
                word += arguments[end];
            }
            ++end;
        }
        if (arguments[start] == '/') {
            const std::string upper = base::AsciiUpper(word);
            if (upper == "/SILENT") {
                command.silent = true;
            } else if (upper == "/VERYSILENT") {
                command.verySilent = true;
            } else if (upper == "/SUPPRESSMSGBOXES") {
                command.suppressMessageBoxes = true;
            } else if (upper.rfind(kFolderSwitch, 0) == 0 && word.size() > kFolderSwitch.size()) {
                command.folder = word.substr(kFolderSwitch.size());
            } else if (upper.rfind(kWaitForSwitch, 0) == 0 &&
                       IsProcessId(word.substr(kWaitForSwitch.size()))) {
                command.waitFor =
                    static_cast<std::uint32_t>(std::stoul(word.substr(kWaitForSwitch.size())));
            } else if (command.unknownSwitch.empty()) {
                command.unknownSwitch = word;
            }
        } else {
            // The blanks between two words of the title stay as written.
            if (!title.empty()) title += arguments.substr(at, start - at);
            title += word;
        }
        at = end;
    }
    command.title = title;
    return command;
}

}  // namespace kav::uninstall
