#pragma once
// The simulated shell: launches and waits are written to the journal; shell
// links are real ".lnk" files of the Windows shell link format.
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/sim/journal.h"

namespace kav::platform::sim {

class SimShell final : public Shell {
public:
    // What the shell answers for a file it started, and for a missing one.
    static constexpr int kStarted = 42;
    static constexpr int kFileNotFound = 2;
    // The process id this program has on the simulated machine.
    static constexpr std::uint32_t kProcessId = 1000;

    SimShell(FileSystem& files, const Journal& journal) : files_(files), journal_(journal) {}

    // Returns kStarted when the file exists (a name without a directory is
    // looked for in `directory` when one is given), kFileNotFound otherwise.
    int Execute(const std::string& file, const std::string& parameters,
                const std::string& directory, int showCommand) override;
    std::uint32_t CurrentProcessId() override { return kProcessId; }
    // No other program runs here: every process has ended.
    bool WaitForProcessEnd(std::uint32_t processId, unsigned timeoutMs) override;
    bool CreateLink(const std::string& linkPath, const ShellLink& link) override;

private:
    FileSystem& files_;
    const Journal& journal_;
};

}  // namespace kav::platform::sim
