#include "uninstall/self_copy.h"

#include <cctype>

#include "base/ascii_case.h"
#include "install/text_file.h"
#include "platform/exception.h"
#include "setup/file_operations.h"
#include "uninstall/uninstall_record.h"

namespace kav::uninstall {

namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

std::string TempFolder(platform::SystemDirectories& dirs) {
    std::string windows = dirs.WindowsDirectory();
    if (!windows.empty() && windows.back() == '\\') windows.pop_back();
    return windows + "\\Temp";
}

// "X:\" and more, without wildcards, quotes or a step up: the copy's
// folder is taken as the original gave it, never made out of parts.
bool IsPlainFullPath(const std::string& path) {
    if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) ||
        path.compare(1, 2, ":\\") != 0) {
        return false;
    }
    if (path.find_first_of("*?\"/") != std::string::npos) return false;
    const std::string wrapped = path + "\\";
    return wrapped.find("\\..\\") == std::string::npos &&
           wrapped.find("\\.\\") == std::string::npos && wrapped.find("\\\\") == std::string::npos;
}

}  // namespace

std::string SelfCopyFile(platform::SystemDirectories& dirs, std::uint32_t processId) {
    return TempFolder(dirs) + "\\uninstaller-" + std::to_string(processId) + ".exe";
}

bool IsSelfCopy(platform::SystemDirectories& dirs, const std::string& program,
                const UninstallCommand& command) {
    return command.IsCopy() && command.waitFor != 0 &&
           base::AsciiUpper(program) == base::AsciiUpper(SelfCopyFile(dirs, command.waitFor));
}

std::string SelfCopyArguments(const UninstallCommand& command, const std::string& installFolder,
                              std::uint32_t processId) {
    std::string arguments = std::string(kFolderSwitch) + "\"" + installFolder + "\" " +
                            std::string(kWaitForSwitch) + std::to_string(processId);
    if (command.silent) arguments += " /SILENT";
    if (command.verySilent) arguments += " /VERYSILENT";
    if (command.suppressMessageBoxes) arguments += " /SUPPRESSMSGBOXES";
    return arguments + " \"" + command.title + "\"";
}

bool StartSelfCopy(platform::Machine& machine, const std::string& program,
                   const UninstallCommand& command, const std::string& installFolder) {
    platform::Shell& shell = machine.ShellOps();
    const std::uint32_t processId = shell.CurrentProcessId();
    // Without it the copy could not wait for this process to end.
    if (processId == 0) return false;
    const std::string temp = TempFolder(machine.SystemDirs());
    const std::string copy = SelfCopyFile(machine.SystemDirs(), processId);
    platform::FileSystem& files = machine.Files();
    try {
        if (!setup::ForceDirectories(files, temp)) return false;
        // Written whole under its own name: the copy is a new file, and one
        // cut short must not be started.
        const std::string bytes = install::ReadWholeFile(files, program);
        try {
            files.Create(copy)->WriteExactly(bytes.data(), bytes.size());
        } catch (const kav::Exception&) {
            files.RemoveFile(copy);
            return false;
        }
    } catch (const kav::Exception&) {
        return false;
    }
    constexpr int kLastFailure = 32;
    if (shell.Execute(copy, SelfCopyArguments(command, installFolder, processId), temp,
                      kShowNormal) > kLastFailure) {
        return true;
    }
    files.RemoveFile(copy);
    return false;
}

std::string ScriptFileFor(const std::string& program, const UninstallCommand& command) {
    if (!command.IsCopy()) {
        return program.substr(0, program.find_last_of('\\') + 1) + "uninstall.cfg";
    }
    if (!IsPlainFullPath(command.folder)) {
        throw EUninstallError("Not an install folder: " + command.folder);
    }
    std::string folder = command.folder;
    if (folder.back() == '\\') folder.pop_back();
    return folder + "\\uninstall.cfg";
}

}  // namespace kav::uninstall
