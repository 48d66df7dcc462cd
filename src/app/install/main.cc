// install.exe: the setup run on the real machine with real windows.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/stages/installer_stages.h"
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "widgets/win32/win32_backend.h"

namespace {

constexpr const char* kApplicationTitle = "KAV - Setup";

int Run() {
    std::unique_ptr<kav::platform::Machine> machine = kav::platform::MakeWin32Machine();
    kav::widgets::win32::Win32Backend backend(&machine->Ui());
    kav::setup::RunState run;
    kav::app::InstallerStages stages(backend, *machine, run);
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    kav::setup::TMainSetup mainSetup(backend, *machine, run, arguments, stages);
    stages.CreateWindows(mainSetup);
    backend.Run(mainSetup);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The last line of defence: whatever no stage caught is reported the way
    // the framework reports errors, and the program ends.
    try {
        return Run();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), kApplicationTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(nullptr, "Unexpected error", kApplicationTitle, MB_OK | MB_ICONERROR);
    }
    return 1;
}
