#include "platform/sim/sim_shell.h"

#include "platform/errors.h"

namespace kav::platform::sim {

int SimShell::Execute(const std::string& file, const std::string& parameters,
                      const std::string& directory, int showCommand) {
    std::string located = file;
    const bool bareName = file.find_first_of("\\/:") == std::string::npos;
    if (bareName && !directory.empty()) {
        located = directory + (directory.back() == '\\' ? "" : "\\") + file;
    }
    const int result = !file.empty() && files_.FileExists(located) ? kStarted : kFileNotFound;
    journal_.Append({"Execute", file, parameters, directory, std::to_string(showCommand),
                     std::to_string(result)});
    return result;
}

bool SimShell::CreateLink(const std::string& linkPath, const ShellLink& link) {
    const std::string text =
        "[Shell Link]\r\nTarget=" + link.target + "\r\nWorkingDirectory=" + link.workingDirectory +
        "\r\nArguments=" + link.arguments + "\r\nDescription=" + link.description +
        "\r\nIconFile=" + link.iconFile + "\r\nIconIndex=" + std::to_string(link.iconIndex) +
        "\r\n";
    try {
        auto stream = files_.Create(linkPath);
        try {
            stream->WriteExactly(text.data(), text.size());
        } catch (const EPlatformError&) {
            stream.reset();
            files_.RemoveFile(linkPath);
            return false;
        }
        return true;
    } catch (const EPlatformError&) {
        return false;
    }
}

}  // namespace kav::platform::sim
