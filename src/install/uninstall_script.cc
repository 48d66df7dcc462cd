#include "install/uninstall_script.h"

namespace kav::install {

void UninstallScript::Open(const std::string& installDirectory, const std::string& title) {
    fileName_ = installDirectory + "\\uninstall.cfg";
    // The directories an earlier installation made stay recorded: this one
    // finds them present and would not record them again.
    for (const char* section : {kUninstallFiles, kUninstallFolders, kUninstallRegistry,
                                kUninstallAutoexec, kUninstallAutoexecLines}) {
        ClearSection(section);
    }
    Write("Program", "Title", title);
    Record(kUninstallFiles, installDirectory + "\\*.*");
    Record(kUninstallFiles, installDirectory + "\\Setup\\*.*");
}

void UninstallScript::Record(const std::string& section, const std::string& key) {
    Write(section, key, "");
}

void UninstallScript::RecordOnce(const std::string& section, const std::string& key,
                                 const std::string& value) {
    if (!IsRecorded(section, key)) Write(section, key, value);
}

std::optional<std::string> UninstallScript::RecordedValue(const std::string& section,
                                                          const std::string& key) {
    // No recorded value begins with "|".
    const std::string absent = "|absent|";
    std::string value = profiles_.ReadString(fileName_, section, key, absent);
    if (value == absent) return std::nullopt;
    return value;
}

void UninstallScript::ClearSection(const std::string& section) {
    if (!profiles_.RemoveSection(fileName_, section)) {
        throw EInstallStop("Unable to write to " + fileName_);
    }
}

void UninstallScript::Write(const std::string& section, const std::string& key,
                            const std::string& value) {
    if (!profiles_.WriteString(fileName_, section, key, value)) {
        throw EInstallStop("Unable to write to " + fileName_);
    }
}

std::string UninstallKey(const std::string& title) {
    return "\\Software\\Microsoft\\Windows\\currentversion\\uninstall\\" + title;
}

void RegisterUninstaller(platform::Registry& registry, const std::string& installDirectory,
                         const std::string& title) {
    const std::string key = UninstallKey(title);
    const auto set = [&](const char* name, const std::string& value) {
        if (!registry.SetStringValue(platform::RootKey::LocalMachine, key, name, value)) {
            throw EInstallStop(std::string("Failed to set data for '") + name + "'");
        }
    };
    set("DisplayName", title);
    set("UninstallString", installDirectory + "\\uninstaller.exe " + title);
}

}  // namespace kav::install
