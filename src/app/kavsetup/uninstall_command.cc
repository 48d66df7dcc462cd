#include "app/kavsetup/uninstall_command.h"

#include <iostream>

#include "app/one_line.h"
#include "platform/sim/sim_machine.h"
#include "uninstall/product_remover.h"
#include "uninstall/registration.h"
#include "widgets/headless/headless_backend.h"

namespace kav::app {

int RunUninstall(const std::string& root, const std::string& title,
                 const MachineOptions& machineOptions) {
    try {
        widgets::headless::HeadlessBackend ui;
        ui.OnMessage = [](const widgets::headless::ShownMessage& m) {
            std::cout << "[" << m.caption << "] " << OneLine(m.text) << " <" << m.answer << ">"
                      << std::endl;
        };
        platform::sim::SimMachine machine(root, ui);
        machineOptions.ApplyTo(machine);
        // The host is drive Z:, read-only, as in the install run: an edited
        // script must not reach it.
        machine.Drives().SetReadOnly('Z', true);
        const auto registration = uninstall::FindRegistration(machine.RegistryKeys(), title);
        if (!registration) {
            std::cerr << "kavsetup: \"" << title << "\" is not registered for uninstalling\n";
            return 1;
        }
        std::cout << "uninstall: " << registration->program << " " << registration->arguments
                  << std::endl;
        const uninstall::UninstallCommand command =
            uninstall::ParseUninstallCommand(registration->arguments);
        if (!command.unknownSwitch.empty()) {
            std::cerr << "kavsetup: unknown switch " << command.unknownSwitch
                      << " in the registered command\n";
            return 1;
        }
        const auto record =
            uninstall::ReadUninstallRecord(machine.Files(), registration->ScriptFile());
        uninstall::CheckTitle(record, command.title);
        uninstall::UninstallOptions options;
        options.runningProgram = registration->program;
        const auto result = uninstall::RemoveProduct(machine, record, options);
        for (const std::string& line : uninstall::DescribeResult(result)) {
            std::cout << line << "\n";
        }
        std::cout << "removed " << result.removed.size() << ", put back " << result.restored.size()
                  << ", at restart " << result.atRestart.size() << ", left " << result.left.size()
                  << std::endl;
        return uninstall::UninstallExitStatus(result);
    } catch (const kav::Exception& error) {
        std::cerr << "kavsetup: " << error.what() << "\n";
        return 1;
    }
}

}  // namespace kav::app
