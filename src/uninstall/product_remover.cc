#include "uninstall/product_remover.h"

#include "base/ascii_case.h"
#include "install/directory_table.h"
#include "uninstall/removal.h"

namespace kav::uninstall {

using base::AsciiUpper;

Removal::Removal(platform::Machine& machine, const UninstallRecord& record,
                 const UninstallOptions& options)
    : machine_(machine),
      record_(record),
      options_(options),
      guard_(machine.Files(), machine.SystemDirs(), record.installDirectory) {
    for (const auto& [path, state] : record.fileStates) {
        states_.emplace(base::AsciiUpper(guard_.Full(path)), state);
    }
    total_ =
        static_cast<int>(record.fileStates.size() + record.files.size() + record.folders.size() +
                         record.registryValues.size() + record.registry.size() +
                         record.registryKeys.size() + record.iniEntries.size() +
                         record.autoexecFiles.size() + record.directories.size()) +
        4;
}

UninstallResult Removal::Run() {
    RestoreReplacedFiles();
    RemoveListedFiles();
    RemoveLinkFolders();
    UndoRegistryValues();
    RemoveRegistryKeys();
    UndoIniEntries();
    RestoreAutoexec();
    RestoreEarlierAutoexecBackups();
    Step(record_.scriptFile);
    DeleteFile(guard_.Full(record_.scriptFile));
    RemoveDirectories();
    return result_;
}

void Removal::Step(const std::string& item) {
    if (options_.progress) options_.progress(item, done_, total_);
    if (done_ < total_) ++done_;
    machine_.Ui().ProcessMessages();
}

void Removal::Left(const std::string& item, const std::string& reason) {
    result_.left.push_back({item, reason});
}

std::string Removal::StateOf(const std::string& full) const {
    const auto found = states_.find(base::AsciiUpper(full));
    return found == states_.end() ? std::string() : found->second;
}

bool Removal::IsRunningProgram(const std::string& full) const {
    return !options_.runningProgram.empty() &&
           base::AsciiUpper(full) == base::AsciiUpper(guard_.Full(options_.runningProgram));
}

UninstallResult RemoveProduct(platform::Machine& machine, const UninstallRecord& record,
                              const UninstallOptions& options) {
    return Removal(machine, record, options).Run();
}

std::vector<std::string> DescribeResult(const UninstallResult& result) {
    std::vector<std::string> lines;
    for (const auto& item : result.removed) lines.push_back("removed: " + item);
    for (const auto& item : result.restored) lines.push_back("put back: " + item);
    for (const auto& item : result.atRestart) {
        lines.push_back("removed when Windows restarts: " + item);
    }
    for (const auto& [item, reason] : result.left)
        lines.push_back("left: " + item + " (" + reason + ")");
    return lines;
}

}  // namespace kav::uninstall
