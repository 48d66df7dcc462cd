// kavsetup --root DIR [--media DIR]... [ARG]: runs the setup as install.exe
// [ARG] would, on the simulated machine kept in DIR, with no windows. Every
// message box is printed as one line and answered with its default button.
// The host is drive Z:, seen as read-only media: nothing outside DIR changes.
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/kavsetup/host_paths.h"
#include "app/stages/installer_stages.h"
#include "platform/sim/sim_machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "widgets/headless/headless_backend.h"

namespace {

using kav::widgets::headless::DialogButton;

int Usage() {
    std::cerr << "usage: kavsetup --root DIR [--media DIR]... [ARG]\n"
                 "  runs the setup as \"install.exe [ARG]\" would, on the simulated machine\n"
                 "  kept in DIR; the host's files are drive Z:, read-only. Each --media DIR\n"
                 "  is the next disk, put in when the setup asks for one.\n";
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
        machine_.Drives().MountAt(at, std::filesystem::absolute(folder).string());
    }

    kav::platform::sim::SimMachine& machine_;
    const kav::setup::RunState& run_;
    std::deque<std::string> media_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::vector<std::string> rest;
    std::deque<std::string> media;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc) {
            root = argv[++i];
        } else if (arg == "--media" && i + 1 < argc) {
            media.push_back(argv[++i]);
        } else if (arg == "--help" || arg == "-h") {
            return Usage();
        } else {
            rest.push_back(arg);
        }
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
        kav::app::InstallerStages stages(ui, machine, run);
        kav::setup::TMainSetup mainSetup(ui, machine, run, arguments, stages);
        stages.CreateWindows(mainSetup);
        ui.User().Decide = DiskSwapper(machine, run, std::move(media));
        ui.Run(mainSetup);
        if (!stages.ExpansionError().empty()) {
            std::cerr << "kavsetup: expansion failed: " << stages.ExpansionError() << "\n";
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return 1;
    }
}
