// The real machine: every group of platform operations through the Windows
// API.
#include "platform/machine.h"

#include "platform/win32/file_system.h"
#include "platform/win32/gui.h"
#include "platform/win32/processor.h"
#include "platform/win32/profile_files.h"
#include "platform/win32/registry.h"
#include "platform/win32/restart.h"
#include "platform/win32/shell.h"
#include "platform/win32/system_directories.h"

namespace kav::platform {
namespace {

class Win32Machine final : public Machine {
public:
    ProfileFiles& Profiles() override { return profiles_; }
    Registry& RegistryKeys() override { return registry_; }
    FileSystem& Files() override { return files_; }
    SystemDirectories& SystemDirs() override { return systemDirectories_; }
    Shell& ShellOps() override { return shell_; }
    Restart& Restarter() override { return restart_; }
    Processor& Cpu() override { return processor_; }
    Gui& Ui() override { return gui_; }

private:
    Win32ProfileFiles profiles_;
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32SystemDirectories systemDirectories_;
    Win32Shell shell_;
    Win32Restart restart_;
    Win32Processor processor_;
    Win32Gui gui_;
};

}  // namespace

std::unique_ptr<Machine> MakeWin32Machine() { return std::make_unique<Win32Machine>(); }

}  // namespace kav::platform
