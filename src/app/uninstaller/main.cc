// uninstaller.exe TITLE [/SILENT | /VERYSILENT]: removes the installed
// product TITLE by the uninstall.cfg beside this program. It cannot delete
// its own file while it runs, so it hands the removal to a copy of itself
// in the temporary directory and ends (see app/uninstaller/uninstaller_run.h).
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/uninstaller/uninstaller_run.h"
#include "platform/machine.h"
#include "platform/win32/wide.h"
#include "widgets/win32/win32_backend.h"

namespace {

constexpr const char* kApplicationTitle = "KAV - Setup";

// The command line after the program's own name.
std::string Arguments() {
    // A character without a code page 1252 form becomes "?", which no
    // product title or file name holds.
    const std::string line = kav::platform::TextFromWide(::GetCommandLineW());
    std::size_t at = 0;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        at = close == std::string::npos ? line.size() : close + 1;
    } else {
        at = line.find_first_of(" \t");
        if (at == std::string::npos) at = line.size();
    }
    return line.substr(at);
}

std::string ProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return kav::platform::NameFromWide(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

int Run() {
    std::unique_ptr<kav::platform::Machine> machine = kav::platform::MakeWin32Machine();
    kav::widgets::win32::Win32Backend backend(&machine->Ui());
    return kav::app::RunUninstaller(*machine, backend, ProgramPath(), Arguments());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return Run();
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, kav::platform::Wide(error.what()).c_str(),
                    kav::platform::Wide(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(nullptr, L"Unexpected error", kav::platform::Wide(kApplicationTitle).c_str(),
                    MB_OK | MB_ICONERROR);
    }
    return kav::app::kUninstallFailed;
}
