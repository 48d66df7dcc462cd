#pragma once
// One Windows machine: every group of platform operations the program uses.
// The program's logic receives a Machine and never names an implementation.
#include <memory>
#include <string>

#include "platform/event_log.h"
#include "platform/file_system.h"
#include "platform/gui.h"
#include "platform/processor.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/restart.h"
#include "platform/shell.h"
#include "platform/system_dirs.h"

namespace kav::platform {

class Machine {
public:
    virtual ~Machine() = default;
    // Accessor names differ from the class names on purpose: <windows.h>
    // defines macros for several Win32-like names, and a member named like
    // its type would hide the type.
    virtual ProfileFiles& Profiles() = 0;
    virtual Registry& RegistryKeys() = 0;
    virtual FileSystem& Files() = 0;
    virtual SystemDirectories& SystemDirs() = 0;
    virtual Shell& ShellOps() = 0;
    virtual Restart& Restarter() = 0;
    virtual Processor& Cpu() = 0;
    virtual Gui& Ui() = 0;
    // The install log; off unless a front end gives the machine one.
    virtual EventLog& Log() {
        static NoEventLog off;
        return off;
    }
};

// The real machine, through the Windows API (Windows builds only).
std::unique_ptr<Machine> MakeWin32Machine();

// A simulated machine kept in the host folder `root` (created when missing):
// drive C: is root/drive_c, the Windows directory C:\WINDOWS, the registry a
// REGEDIT4 file in root, drive Z: the host's own file system. Launches and
// restart requests are appended to a journal file in root. `gui` answers the
// message boxes; the machine does not own it.
std::unique_ptr<Machine> MakeSimMachine(const std::string& root, Gui& gui);

}  // namespace kav::platform
