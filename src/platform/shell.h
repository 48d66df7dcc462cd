#pragma once
// The Windows shell: launching a file, waiting for a process to end, and
// shell links (".lnk" files).
#include <cstdint>
#include <string>

namespace kav::platform {

struct ShellLink {
    std::string target;            // full path of the program the link starts
    std::string workingDirectory;  // may be empty
    std::string arguments;         // may be empty
    std::string description;       // may be empty
    std::string iconFile;          // may be empty
    int iconIndex = 0;
};

class Shell {
public:
    virtual ~Shell() = default;

    // Starts or opens `file` with the shell's default action, with
    // `parameters` and `directory` as working directory, and does not wait.
    // Returns the shell's result: greater than 32 on success, 32 or less on
    // failure. Strings are passed whole, whatever their length.
    virtual int Execute(const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand) = 0;
    // The id of this program's process, by which another process may wait
    // for its end; 0 when the shell cannot tell.
    virtual std::uint32_t CurrentProcessId() { return 0; }
    // Waits until the process `processId` has ended, at most `timeoutMs`
    // milliseconds. True when it has ended or is not running; false when it
    // still runs at the timeout or cannot be waited for.
    virtual bool WaitForProcessEnd(std::uint32_t /*processId*/, unsigned /*timeoutMs*/) {
        return false;
    }
    // Writes a shell link file at `linkPath` (which ends in ".lnk"),
    // replacing an existing one. Returns false on failure; no file is left
    // behind then.
    virtual bool CreateLink(const std::string& linkPath, const ShellLink& link) = 0;
};

}  // namespace kav::platform
