#include "app/uninstaller/uninstaller_run.h"

#include <memory>
#include <vector>

#include "app/uninstaller/uninstall_progress.h"
#include "uninstall/product_remover.h"
#include "uninstall/registration.h"
#include "uninstall/self_copy.h"

namespace kav::app {

namespace {

// Every line of the result, in the Windows directory's Temp folder.
void WriteLog(platform::Machine& machine, const std::string& title,
              const uninstall::UninstallResult& result) {
    std::string text;
    for (const std::string& line : uninstall::DescribeResult(result)) text += line + "\r\n";
    try {
        auto stream = machine.Files().Create(machine.SystemDirs().WindowsDirectory() + "\\Temp\\" +
                                             title + " uninstall.log");
        stream->WriteExactly(text.data(), text.size());
    } catch (const kav::Exception&) {
        // The closing message still names what was left.
    }
}

}  // namespace

int RunUninstaller(platform::Machine& machine, widgets::Backend& backend,
                   const std::string& program, const std::string& arguments) {
    platform::Gui& ui = machine.Ui();
    const uninstall::UninstallCommand command = uninstall::ParseUninstallCommand(arguments);
    // A switch the uninstaller does not know may be one the caller meant
    // to keep it quiet: nothing is removed on a guess.
    if (!command.unknownSwitch.empty()) {
        if (command.Attended()) ui.ShowMessage("Unknown switch " + command.unknownSwitch);
        return kUninstallFailed;
    }
    if (command.IsCopy()) {
        // Its own file in the temporary directory goes at the next restart,
        // however the run ends; it is no part of the product.
        if (uninstall::IsSelfCopy(machine.SystemDirs(), program, command)) {
            machine.Restarter().RemoveAtRestart(program);
        }
        // It removes the original's file: only once the original has ended.
        if (command.waitFor != 0) {
            machine.ShellOps().WaitForProcessEnd(command.waitFor, uninstall::kOriginalEndTimeoutMs);
        }
    }

    // The copy is held to the same script and title as the original: a
    // folder without the product's own script loses nothing.
    uninstall::UninstallRecord record;
    try {
        record = uninstall::ReadUninstallRecord(machine.Files(),
                                                uninstall::ScriptFileFor(program, command));
        uninstall::CheckTitle(record, command.title);
    } catch (const uninstall::EUninstallError& error) {
        if (command.Attended()) ui.ShowMessage(error.what());
        return kUninstallFailed;
    }
    // An original that cannot hand over removes what it can and leaves its
    // own file and folder for the next restart.
    if (!command.IsCopy() &&
        uninstall::StartSelfCopy(machine, program, command, record.installDirectory)) {
        return uninstall::kUninstallComplete;
    }

    const std::string& title = record.title;
    if (command.Attended() && !ui.AskYesNo("Remove " + title + " and all of its components?")) {
        return kUninstallDeclined;
    }

    std::unique_ptr<TUninstallProgress> window;
    if (!command.verySilent) {
        window = std::make_unique<TUninstallProgress>(backend, title);
        window->Show();
    }
    uninstall::UninstallOptions options;
    options.runningProgram = program;
    options.progress = [&](const std::string& item, int done, int total) {
        if (window) window->Step(item, done, total);
    };
    const uninstall::UninstallResult result = uninstall::RemoveProduct(machine, record, options);
    WriteLog(machine, title, result);
    if (window) window->Hide();

    // Unattended, the closing message would wait for a click: the log in
    // the Temp folder holds the same.
    if (command.Attended()) {
        std::vector<std::string> leftovers;
        for (const auto& left : result.left) leftovers.push_back(left.item + ": " + left.reason);
        ui.ShowMessage(
            ClosingMessage(title, result.removed.size(), leftovers, result.RestartNeeded()));
    }
    return uninstall::UninstallExitStatus(result);
}

}  // namespace kav::app
