#pragma once
// The simulated Windows machine kept in a host folder, the "root":
//   <root>/drive_c        drive C: (other letters: drive_<letter>, made on use)
//   <root>/registry.reg   the registry, REGEDIT4 text
//   <root>/attributes.txt attribute bits a host file cannot hold
//   <root>/journal.txt    launches and session-end requests (see journal.h)
// Drive Z: is the host's own "/". MakeSimMachine (platform/machine.h) gives
// one as a Machine; tests that steer the simulation construct it directly.
#include <memory>
#include <string>

#include "platform/machine.h"
#include "platform/sim/host_drives.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_restart.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system_dirs.h"

namespace kav::platform::sim {

class SimProcessor final : public Processor {
public:
    void YieldTimeSlice() override;
};

class SimMachine final : public Machine {
public:
    // Creates the root and C:\WINDOWS with its System and Temp directories
    // when missing. Throws EInOutError when the root cannot be made.
    SimMachine(const std::string& root, Gui& gui);
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    ProfileFiles& Profiles() override { return profiles_; }
    Registry& RegistryKeys() override { return registry_; }
    FileSystem& Files() override { return files_; }
    SystemDirectories& SystemDirs() override { return systemDirs_; }
    Shell& ShellOps() override { return shell_; }
    Restart& Restarter() override { return restart_; }
    Processor& Cpu() override { return processor_; }
    Gui& Ui() override { return gui_; }

    // Plays the Windows `profile` describes from now on, making its shell's
    // folders where missing.
    void UseProfile(ShellProfile profile);
    // The ANSI code page of the machine's Windows (1252 unless set).
    void SetSystemCodePage(SystemCodePage codePage) { drives_.SetSystemCodePage(codePage); }

    const std::string& Root() const { return drives_.Root(); }
    SimFileSystem& SimFiles() { return files_; }
    HostDrives& Drives() { return drives_; }
    SimSystemDirectories& SimDirs() { return systemDirs_; }
    SimRestart& SimRestarter() { return restart_; }

private:
    void MakeFolder(const std::string& directory);
    // A folder of the system's own, given in the host's form (UTF-8).
    void MakeSystemFolder(const std::string& hostFormPath);

    HostDrives drives_;
    Journal journal_;
    SimFileSystem files_;
    SimSystemDirectories systemDirs_;
    SimProfileFiles profiles_;
    SimRegistry registry_;
    SimShell shell_;
    SimRestart restart_;
    SimProcessor processor_;
    Gui& gui_;
};

}  // namespace kav::platform::sim
