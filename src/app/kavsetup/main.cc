// kavsetup --root DIR [--media DIR]... [wizard options] [switches] [ARG]:
// runs the setup as install.exe [ARG] would, on the simulated machine kept
// in DIR, with no windows. A scripted user goes through the wizard as the
// options say; every page it passes and every message box is printed as one
// line, and each question is answered as --answer (/ANSWER) says, with its
// unattended default under /SILENT, /VERYSILENT or /SUPPRESSMSGBOXES, or else
// with its default button. install.exe's switches are taken too (/LOG names
// a file on the simulated machine). The host is drive Z:, seen as read-only
// media: nothing outside DIR changes. At the end it prints what the run
// changed on the machine (--report FILE: the same as JSON). The exit status
// is install.exe's.
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/kavsetup/change_recorder.h"
#include "app/kavsetup/escaping_output.h"
#include "app/kavsetup/host_paths.h"
#include "app/kavsetup/machine_options.h"
#include "app/kavsetup/uninstall_command.h"
#include "app/one_line.h"
#include "app/stages/command_line.h"
#include "app/stages/install_log.h"
#include "app/stages/unattended_run.h"
#include "platform/sim/sim_machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "widgets/headless/headless_backend.h"

namespace {

using kav::widgets::headless::DialogButton;

int Usage() {
    std::cerr << "usage: kavsetup --root DIR [--media DIR]... [OPTION]... [ARG]\n"
                 "  runs the setup as \"install.exe [ARG]\" would, on the simulated machine\n"
                 "  kept in DIR; the host's files are drive Z:, read-only. Each --media DIR\n"
                 "  is the next disk, put in when the setup asks for one. The wizard is\n"
                 "  gone through with Next, Accept and the preselected choices, unless:\n"
                 "  --report FILE  also writes what the run changed as JSON to FILE\n"
                 "  --uninstall TITLE  instead removes the installed product TITLE as its\n"
                 "                 uninstaller would, found through its registration\n"
                 "  --code-page N  the machine's Windows has the ANSI code page N (1252,\n"
                 "                 1251 or 932; 1252 unless given)\n"
                 "  --user NAME    the user's profile folder is C:\\Users\\NAME (any characters)\n"
              << kav::app::WizardOptionsUsage() << "and install.exe's switches:\n"
              << kav::app::InstallSwitchesHelp();
    return kav::app::kExitBadCommandLine;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A question put to the person at the terminal; nothing when there is none.
std::optional<std::string> AskAtTerminal(const std::string& question) {
    if (!::isatty(STDIN_FILENO)) return std::nullopt;
    std::cerr << question << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return std::nullopt;
    return answer;
}

// Plays the person in front of the drive: a disk prompt is answered by
// putting in the next --media folder (or one named at the terminal), and the
// reader's box for a segment still missing is cancelled unless someone at
// the terminal says otherwise, so that a run never waits for ever. The
// --answer rules come first: they are applied before a dialog gets here.
class DiskSwapper {
public:
    DiskSwapper(kav::platform::sim::SimMachine& machine, const kav::setup::RunState& run,
                std::deque<std::string> media)
        : machine_(machine), run_(run), media_(std::move(media)) {}

    std::optional<DialogButton> operator()(const std::string& text) {
        if (StartsWith(text, "Please Insert Disk #")) {
            std::optional<std::string> folder;
            if (!media_.empty()) {
                folder = media_.front();
                media_.pop_front();
            } else {
                folder = AskAtTerminal(text + " Folder holding it (empty: none): ");
            }
            if (folder && !folder->empty()) Insert(*folder);
            return std::nullopt;
        }
        if (StartsWith(text, "Unable to locate") || StartsWith(text, "Incorrect segmented")) {
            const auto answer = AskAtTerminal(kav::app::OneLine(text) + " [o]k or [c]ancel? ");
            return answer && StartsWith(*answer, "o") ? DialogButton::Ok : DialogButton::Cancel;
        }
        return std::nullopt;
    }

private:
    void Insert(const std::string& folder) {
        kav::platform::sim::ParsedPath at;
        if (!kav::platform::sim::ParseFullPath(run_.sourceDirectory, "C:\\", at)) return;
        // A disk is read-only media wherever the machine reaches it.
        machine_.Drives().MountAt(at, std::filesystem::absolute(folder).string(), true);
    }

    kav::platform::sim::SimMachine& machine_;
    const kav::setup::RunState& run_;
    std::deque<std::string> media_;
};

}  // namespace

int main(int argc, char** argv) {
    // Everything printed may hold text from the set.
    const kav::app::EscapedStream escapedOut(std::cout), escapedErr(std::cerr);
    std::string root;
    std::string reportFile;
    std::optional<std::string> uninstallTitle;
    std::vector<std::string> rest;
    std::deque<std::string> media;
    kav::app::RunOptions options;
    kav::app::MachineOptions machineOptions;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        try {
            if (kav::app::TakeWizardOption(args, i, options.answers)) continue;
            if (machineOptions.Take(args, i)) continue;
            // A host path may begin with "/" too: only a switch's name counts.
            if (kav::app::IsSwitch(arg)) {
                kav::app::TakeSwitch(arg, options);
                continue;
            }
        } catch (const std::exception& error) {
            std::cerr << "kavsetup: " << error.what() << "\n";
            return kav::app::kExitBadCommandLine;
        }
        if (arg == "--root" && i + 1 < args.size()) {
            root = args[++i];
        } else if (arg == "--uninstall" && i + 1 < args.size()) {
            uninstallTitle = args[++i];
        } else if (arg == "--report" && i + 1 < args.size()) {
            reportFile = args[++i];
        } else if (arg == "--media" && i + 1 < args.size()) {
            media.push_back(args[++i]);
        } else if (arg == "--help" || arg == "-h" || StartsWith(arg, "--")) {
            return Usage();
        } else {
            rest.push_back(arg);
        }
    }
    if (options.help) {
        Usage();
        return kav::app::kExitInstalled;
    }
    if (uninstallTitle) {
        // An empty title (an unset variable) or a set beside it is a mistake,
        // never a reason to install instead.
        if (uninstallTitle->empty() || root.empty() || !rest.empty()) return Usage();
        return kav::app::RunUninstall(root, kav::app::WindowsText(*uninstallTitle), machineOptions);
    }
    if (root.empty() || rest.size() > 1) return Usage();
    const auto irregular =
        kav::app::IrregularSetFiles(rest.empty() ? std::string(".") : rest.front());
    for (const auto& path : irregular) {
        std::cerr << "kavsetup: " << path << " is not a regular file; refused\n";
    }
    if (!irregular.empty()) return kav::app::kExitBadCommandLine;

    try {
        kav::widgets::headless::HeadlessBackend ui;
        auto print = [](const std::string& caption, const std::string& text,
                        const std::string& answer) {
            std::cout << "[" << caption << "] " << kav::app::OneLine(text) << " <" << answer << ">"
                      << std::endl;
        };
        ui.OnMessage = [print](const kav::widgets::headless::ShownMessage& m) {
            print(m.caption, m.text, m.answer);
        };
        kav::platform::sim::SimMachine machine(root, ui);
        machineOptions.ApplyTo(machine);
        machine.Drives().SetReadOnly('Z', true);
        const std::string hostCwd = std::filesystem::current_path().string();
        machine.Files().ChangeDirectory(kav::app::HostToWindowsPath(hostCwd, hostCwd));
        std::vector<std::string> arguments;
        if (!rest.empty()) arguments.push_back(kav::app::HostToWindowsPath(rest.front(), hostCwd));

        const auto log = kav::app::OpenRunLog(
            options.log, options.logFile, machine.SystemDirs().WindowsDirectory() + "\\Temp",
            machine.Files(),
            [](const std::string& problem) { std::cerr << "kavsetup: " << problem << "\n"; });
        kav::app::ChangeRecorder changes(machine);
        kav::app::UnattendedRun run(
            ui, ui, changes, options, arguments, *log, true,
            [](const std::string& line) { std::cout << line << std::endl; },
            [](const std::string& line) { std::cerr << "kavsetup: " << line << "\n"; });
        run.Dialogs().OnAnswered = print;
        ui.User().Decide = DiskSwapper(machine, run.State(), std::move(media));
        run.PlayWizard();
        const kav::app::ExitStatus status = run.Execute();
        if (!run.Stages().ExpansionError().empty()) {
            std::cerr << "kavsetup: expansion failed: " << run.Stages().ExpansionError() << "\n";
        }
        changes.WriteText(std::cout);
        if (!reportFile.empty()) {
            std::ofstream report(reportFile);
            changes.WriteJson(report);
            if (!report.flush()) {
                // --report named a file that cannot be written.
                std::cerr << "kavsetup: cannot write " << reportFile << "\n";
                return kav::app::kExitBadCommandLine;
            }
        }
        return status;
    } catch (const kav::app::ELogFileRefused& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return kav::app::kExitBadCommandLine;
    } catch (const std::exception& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return kav::app::kExitInstallFailed;
    }
}
