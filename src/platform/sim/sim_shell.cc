#include "platform/sim/sim_shell.h"

#include "platform/errors.h"
#include "platform/sim/shell_link_file.h"

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

bool SimShell::WaitForProcessEnd(std::uint32_t processId, unsigned timeoutMs) {
    journal_.Append(
        {"WaitForProcessEnd", std::to_string(processId), std::to_string(timeoutMs), "true"});
    return true;
}

bool SimShell::CreateLink(const std::string& linkPath, const ShellLink& link) {
    try {
        const std::vector<std::uint8_t> bytes = ShellLinkFileBytes(link);
        auto stream = files_.Create(linkPath);
        try {
            stream->WriteExactly(bytes.data(), bytes.size());
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
