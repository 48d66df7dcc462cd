// kavsetup --root DIR [ARG]: runs the setup as install.exe [ARG] would, on
// the simulated machine kept in DIR, with no windows. Every message box is
// printed as one line and answered with its default button.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/kavsetup/host_paths.h"
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "setup/setup_stages.h"
#include "widgets/headless/headless_backend.h"

namespace {

int Usage() {
    std::cerr << "usage: kavsetup --root DIR [ARG]\n"
                 "  runs the setup as \"install.exe [ARG]\" would, on the simulated machine\n"
                 "  kept in DIR; the host's files are drive Z:\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc) {
            root = argv[++i];
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
        auto machine = kav::platform::MakeSimMachine(root, ui);
        const std::string hostCwd = std::filesystem::current_path().string();
        machine->Files().ChangeDirectory(kav::app::HostToWindowsPath(hostCwd, hostCwd));
        std::vector<std::string> arguments;
        if (!rest.empty()) arguments.push_back(kav::app::HostToWindowsPath(rest.front(), hostCwd));

        kav::setup::RunState run;
        kav::setup::PassedOverStages stages;
        kav::setup::TMainSetup mainSetup(ui, *machine, run, arguments, stages);
        ui.Run(mainSetup);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return 1;
    }
}
