// uninstaller.exe TITLE [/SILENT | /VERYSILENT]: removes the installed
// product TITLE by the uninstall.cfg beside this program. It cannot delete
// its own file while it runs: that file, and the folder holding it, are
// removed when Windows next starts, as the closing message says, and the
// exit status is 5 (restart needed) rather than 0.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/uninstaller/uninstall_progress.h"
#include "platform/machine.h"
#include "platform/win32/wide.h"
#include "uninstall/product_remover.h"
#include "uninstall/registration.h"
#include "widgets/win32/win32_backend.h"

namespace {

constexpr const char* kApplicationTitle = "KAV - Setup";
constexpr int kExitFailed = 1;
constexpr int kExitDeclined = 2;

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

// Every line of the result, in the Windows directory's Temp folder.
void WriteLog(kav::platform::Machine& machine, const std::string& title,
              const kav::uninstall::UninstallResult& result) {
    std::string text;
    for (const std::string& line : kav::uninstall::DescribeResult(result)) text += line + "\r\n";
    try {
        auto stream = machine.Files().Create(machine.SystemDirs().WindowsDirectory() + "\\Temp\\" +
                                             title + " uninstall.log");
        stream->WriteExactly(text.data(), text.size());
    } catch (const kav::Exception&) {
        // The closing message still names what was left.
    }
}

int Run() {
    std::unique_ptr<kav::platform::Machine> machine = kav::platform::MakeWin32Machine();
    kav::widgets::win32::Win32Backend backend(&machine->Ui());
    kav::platform::Gui& ui = machine->Ui();
    const kav::uninstall::UninstallCommand command =
        kav::uninstall::ParseUninstallCommand(Arguments());
    // A switch the uninstaller does not know may be one the caller meant
    // to keep it quiet: nothing is removed on a guess.
    if (!command.unknownSwitch.empty()) {
        if (command.Attended()) ui.ShowMessage("Unknown switch " + command.unknownSwitch);
        return kExitFailed;
    }
    const std::string program = ProgramPath();
    const std::string script = program.substr(0, program.find_last_of('\\') + 1) + "uninstall.cfg";

    kav::uninstall::UninstallRecord record;
    try {
        record = kav::uninstall::ReadUninstallRecord(machine->Files(), script);
        kav::uninstall::CheckTitle(record, command.title);
    } catch (const kav::uninstall::EUninstallError& error) {
        if (command.Attended()) ui.ShowMessage(error.what());
        return kExitFailed;
    }
    const std::string& title = record.title;
    if (command.Attended() && !ui.AskYesNo("Remove " + title + " and all of its components?")) {
        return kExitDeclined;
    }

    std::unique_ptr<kav::app::TUninstallProgress> window;
    if (!command.verySilent) {
        window = std::make_unique<kav::app::TUninstallProgress>(backend, title);
        window->Show();
    }
    kav::uninstall::UninstallOptions options;
    options.runningProgram = program;
    options.progress = [&](const std::string& item, int done, int total) {
        if (window) window->Step(item, done, total);
    };
    const kav::uninstall::UninstallResult result =
        kav::uninstall::RemoveProduct(*machine, record, options);
    WriteLog(*machine, title, result);
    if (window) window->Hide();

    // Unattended, the closing message would wait for a click: the log in
    // the Temp folder holds the same.
    if (command.Attended()) {
        std::vector<std::string> leftovers;
        for (const auto& left : result.left) leftovers.push_back(left.item + ": " + left.reason);
        ui.ShowMessage(kav::app::ClosingMessage(title, result.removed.size(), leftovers,
                                                result.RestartNeeded()));
    }
    return kav::uninstall::UninstallExitStatus(result);
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
    return kExitFailed;
}
