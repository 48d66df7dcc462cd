// install.exe: the setup run on the real machine with real windows, or with
// none at all under /VERYSILENT. The exit status tells a script how the run
// ended (app/stages/exit_status.h).
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/stages/command_line.h"
#include "app/stages/exit_status.h"
#include "app/stages/install_log.h"
#include "app/stages/unattended_run.h"
#include "platform/forwarding_machine.h"
#include "platform/machine.h"
#include "platform/throttled_processor.h"
#include "platform/win32/two_column_dialog.h"
#include "platform/win32/wide.h"
#include "widgets/headless/headless_backend.h"
#include "widgets/win32/win32_backend.h"

namespace {

constexpr const char* kApplicationTitle = "KAV - Setup";

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* const words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    // A character without a code page 1252 form becomes "?", which no file
    // name may hold: a path given so is refused, never taken for another.
    for (int i = 1; i < count; ++i) arguments.push_back(kav::platform::TextFromWide(words[i]));
    ::LocalFree(words);
    return arguments;
}

// Whether the line asks for quiet, however the rest of it reads: a bad
// switch beside /VERYSILENT must not bring up a box that waits.
bool AsksForQuiet(const std::vector<std::string>& arguments) {
    kav::app::RunOptions options;
    for (const std::string& argument : arguments) {
        if (!kav::app::IsSwitch(argument)) continue;
        try {
            kav::app::TakeSwitch(argument, options);
        } catch (const kav::app::ECommandLine&) {
        }
    }
    return options.Unattended();
}

void Tell(const std::string& text, UINT icon) {
    MessageBoxW(nullptr, kav::platform::Wide(text).c_str(),
                kav::platform::Wide(kApplicationTitle).c_str(), MB_OK | icon);
}

// The switches in two columns: a message box would run a switch into its
// meaning wherever a tab stop falls.
void ShowSwitches(const std::string& heading, LPCSTR icon) {
    std::vector<kav::platform::TwoColumnDialog::Row> rows;
    for (const kav::app::SwitchHelp& row : kav::app::InstallSwitchRows())
        rows.emplace_back(row.switches, row.meaning);
    kav::platform::TwoColumnDialog(kApplicationTitle, heading, std::move(rows),
                                   kav::app::InstallExitStatusHelp(), icon)
        .Show(nullptr);
}

// The real machine with the decoders' yields passed on at most once a
// millisecond: an unattended run has no window that waits for them.
class UnattendedMachine final : public kav::platform::ForwardingMachine {
public:
    explicit UnattendedMachine(kav::platform::Machine& machine)
        : ForwardingMachine(machine), processor_(machine.Cpu()) {}

    kav::platform::Processor& Cpu() override { return processor_; }

private:
    kav::platform::ThrottledProcessor processor_;
};

// The user's temporary folder, where a log without a name goes.
std::string TemporaryFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return "C:\\";
    return kav::platform::NameFromWide(std::wstring_view(path, length));
}

int Run(const std::vector<std::string>& arguments) {
    kav::app::InstallCommandLine line;
    try {
        line = kav::app::ParseInstallCommandLine(arguments);
    } catch (const kav::app::ECommandLine& error) {
        if (!AsksForQuiet(arguments)) {
            ShowSwitches(std::string(error.what()) + "\n\n" + kav::app::InstallUsageLine(),
                         IDI_ERROR);
        }
        return kav::app::kExitBadCommandLine;
    }
    const kav::app::RunOptions& options = line.options;
    if (options.help) {
        ShowSwitches(kav::app::InstallUsageLine(), IDI_INFORMATION);
        return kav::app::kExitInstalled;
    }

    std::unique_ptr<kav::platform::Machine> machine = kav::platform::MakeWin32Machine();
    std::unique_ptr<kav::platform::EventLog> log;
    try {
        log = kav::app::OpenRunLog(options.log, options.logFile, TemporaryFolder(),
                                   machine->Files(), [&options](const std::string& problem) {
                                       if (!options.Unattended()) Tell(problem, MB_ICONWARNING);
                                   });
    } catch (const kav::app::ELogFileRefused& error) {
        if (!options.Unattended()) Tell(error.what(), MB_ICONERROR);
        return kav::app::kExitBadCommandLine;
    }
    std::string commandLine = "install.exe";
    for (const std::string& argument : arguments) commandLine += " " + argument;
    log->Note("started: " + commandLine);

    UnattendedMachine unattended(*machine);
    kav::platform::Machine& runMachine =
        options.Unattended() ? static_cast<kav::platform::Machine&>(unattended) : *machine;
    // What no stage caught ends the run at the top; the log says what it was.
    try {
        if (options.quietness == kav::app::Quietness::VerySilent) {
            // No window at all: the forms live in the model only, with the
            // real machine underneath.
            kav::widgets::headless::HeadlessBackend ui;
            kav::app::UnattendedRun run(ui, ui, runMachine, options, line.arguments, *log, false);
            run.PlayWizard();
            return run.Execute();
        }
        kav::widgets::win32::Win32Backend backend(&machine->Ui());
        kav::app::UnattendedRun run(backend, machine->Ui(), runMachine, options, line.arguments,
                                    *log, false);
        if (options.PlaysWizard()) run.PlayWizard();
        return run.Execute();
    } catch (const std::exception& error) {
        log->Note(std::string("internal error: ") + error.what() + "; exit status " +
                  std::to_string(kav::app::kExitInstallFailed));
        throw;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::vector<std::string> arguments = Arguments();
    // The last line of defence: whatever no stage caught is reported the way
    // the framework reports errors, and the program ends as failed.
    try {
        return Run(arguments);
    } catch (const std::exception& error) {
        if (!AsksForQuiet(arguments)) Tell(error.what(), MB_ICONERROR);
    } catch (...) {
        if (!AsksForQuiet(arguments)) Tell("Unexpected error", MB_ICONERROR);
    }
    return kav::app::kExitInstallFailed;
}
