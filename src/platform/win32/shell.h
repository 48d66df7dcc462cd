#pragma once
#include "platform/shell.h"

namespace kav::platform {

// ShellExecuteA, waiting on a process, and shell links through the shell
// link COM class.
class Win32Shell final : public Shell {
public:
    int Execute(const std::string& file, const std::string& parameters,
                const std::string& directory, int showCommand) override;
    std::uint32_t CurrentProcessId() override;
    bool WaitForProcessEnd(std::uint32_t processId, unsigned timeoutMs) override;
    bool CreateLink(const std::string& linkPath, const ShellLink& link) override;
};

}  // namespace kav::platform
