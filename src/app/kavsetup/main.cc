// kavsetup --root DIR [--media DIR]... [wizard options] [ARG]: runs the
// setup as install.exe [ARG] would, on the simulated machine kept in DIR,
// with no windows. A scripted user goes through the wizard as the options
// say; every page it passes and every message box is printed as one line,
// and each question is answered as --answer says or with its default
// button. The host is drive Z:, seen as read-only media: nothing outside
// DIR changes. At the end it prints what the run changed on the machine
// (--report FILE: the same as JSON).
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/kavsetup/change_recorder.h"
#include "app/kavsetup/host_paths.h"
#include "app/kavsetup/uninstall_command.h"
#include "app/one_line.h"
#include "app/stages/installer_stages.h"
#include "app/stages/wizard_player.h"
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
              << kav::app::WizardOptionsUsage();
    return 2;
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
// the terminal says otherwise, so that a run never waits for ever.
class DiskSwapper {
public:
    DiskSwapper(kav::platform::sim::SimMachine& machine, const kav::setup::RunState& run,
                std::deque<std::string> media, const kav::app::WizardAnswers& answers)
        : machine_(machine), run_(run), media_(std::move(media)), answers_(answers) {}

    std::optional<DialogButton> operator()(const std::string& text) {
        if (auto button = DiskAnswer(text)) return button;
        if (const auto named = answers_.ButtonFor(text)) return ButtonNamed(*named);
        return std::nullopt;
    }

private:
    static DialogButton ButtonNamed(const std::string& name) {
        if (name == "Yes") return DialogButton::Yes;
        if (name == "No") return DialogButton::No;
        if (name == "Abort") return DialogButton::Abort;
        if (name == "Cancel") return DialogButton::Cancel;
        return DialogButton::Ok;
    }

    std::optional<DialogButton> DiskAnswer(const std::string& text) {
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
        if (answers_.ButtonFor(text)) return std::nullopt;
        if (StartsWith(text, "Unable to locate") || StartsWith(text, "Incorrect segmented")) {
            const auto answer = AskAtTerminal(kav::app::OneLine(text) + " [o]k or [c]ancel? ");
            return answer && StartsWith(*answer, "o") ? DialogButton::Ok : DialogButton::Cancel;
        }
        return std::nullopt;
    }

    void Insert(const std::string& folder) {
        kav::platform::sim::ParsedPath at;
        if (!kav::platform::sim::ParseFullPath(run_.sourceDirectory, "C:\\", at)) return;
        machine_.Drives().MountAt(at, std::filesystem::absolute(folder).string());
    }

    kav::platform::sim::SimMachine& machine_;
    const kav::setup::RunState& run_;
    std::deque<std::string> media_;
    const kav::app::WizardAnswers& answers_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::string reportFile;
    std::string uninstallTitle;
    std::vector<std::string> rest;
    std::deque<std::string> media;
    kav::app::WizardAnswers answers;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        try {
            if (kav::app::TakeWizardOption(args, i, answers)) continue;
        } catch (const std::invalid_argument& error) {
            std::cerr << "kavsetup: " << error.what() << "\n";
            return 2;
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
    if (!uninstallTitle.empty() && !root.empty() && rest.empty()) {
        return kav::app::RunUninstall(root, uninstallTitle);
    }
    if (root.empty() || rest.size() > 1) return Usage();
    const auto irregular =
        kav::app::IrregularSetFiles(rest.empty() ? std::string(".") : rest.front());
    for (const auto& path : irregular) {
        std::cerr << "kavsetup: " << path << " is not a regular file; refused\n";
    }
    if (!irregular.empty()) return 1;

    try {
        kav::widgets::headless::HeadlessBackend ui;
        ui.OnMessage = [](const kav::widgets::headless::ShownMessage& m) {
            std::cout << "[" << m.caption << "] " << kav::app::OneLine(m.text) << " <" << m.answer
                      << ">" << std::endl;
        };
        kav::platform::sim::SimMachine machine(root, ui);
        machine.Drives().SetReadOnly('Z', true);
        const std::string hostCwd = std::filesystem::current_path().string();
        machine.Files().ChangeDirectory(kav::app::HostToWindowsPath(hostCwd, hostCwd));
        std::vector<std::string> arguments;
        if (!rest.empty()) arguments.push_back(kav::app::HostToWindowsPath(rest.front(), hostCwd));

        kav::setup::RunState run;
        kav::app::ChangeRecorder changes(machine);
        kav::app::InstallerStages stages(ui, changes, run);
        kav::setup::TMainSetup mainSetup(ui, changes, run, arguments, stages);
        stages.CreateWindows(mainSetup);
        ui.User().Decide = DiskSwapper(machine, run, std::move(media), answers);
        kav::app::WizardPlayer player(
            answers, run.finalChoice,
            [](const std::string& line) { std::cout << line << std::endl; },
            [](const std::string& line) { std::cerr << "kavsetup: " << line << "\n"; });
        ui.User().WhenShown("KAV",
                            [&](kav::widgets::Form&) { player.PlayWizard(stages.Wizard()); });
        ui.User().WhenShown("Form3",
                            [&](kav::widgets::Form&) { player.PlayChooser(stages.Form3()); });
        ui.Run(mainSetup);
        if (!stages.ExpansionError().empty()) {
            std::cerr << "kavsetup: expansion failed: " << stages.ExpansionError() << "\n";
        }
        changes.WriteText(std::cout);
        if (!reportFile.empty()) {
            std::ofstream report(reportFile);
            changes.WriteJson(report);
            if (!report.flush()) {
                std::cerr << "kavsetup: cannot write " << reportFile << "\n";
                return 1;
            }
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return 1;
    }
}
