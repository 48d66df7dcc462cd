#include "install/uninstall_script.h"

#include "install/text_file.h"

namespace kav::install {

void UninstallScript::Open(const std::string& installDirectory, const std::string& title) {
    fileName_ = installDirectory + "\\uninstall.cfg";
    document_ = RecordDocument();
    unsaved_ = 0;
    if (files_.FileExists(fileName_)) {
        try {
            document_ = RecordDocument(ReadWholeFile(files_, fileName_));
        } catch (const kav::Exception&) {
            throw EInstallStop("Unable to write to " + fileName_);
        }
    }
    // The directories an earlier installation made stay recorded: this one
    // finds them present and would not record them again.
    for (const char* section : {kUninstallFiles, kUninstallFolders, kUninstallRegistry,
                                kUninstallAutoexec, kUninstallAutoexecLines}) {
        ClearSection(section);
    }
    Write("Program", "Title", title);
    Record(kUninstallFiles, installDirectory + "\\*.*");
    Record(kUninstallFiles, installDirectory + "\\Setup\\*.*");
    Save();
}

void UninstallScript::Record(const std::string& section, const std::string& key) {
    Write(section, key, "");
}

void UninstallScript::RecordOnce(const std::string& section, const std::string& key,
                                 const std::string& value) {
    if (!IsRecorded(section, key)) Write(section, key, value);
}

void UninstallScript::ClearSection(const std::string& section) {
    if (document_.RemoveSection(section)) Changed();
}

void UninstallScript::Write(const std::string& section, const std::string& key,
                            const std::string& value) {
    document_.Write(section, key, value);
    Changed();
}

void UninstallScript::Changed() {
    if (++unsaved_ >= kSaveEvery) Save();
}

void UninstallScript::Save() {
    if (!IsOpen() || unsaved_ == 0) return;
    const std::string scratch = fileName_.substr(0, fileName_.size() - 4) + ".$$$";
    if (!ReplaceWholeFile(files_, fileName_, scratch, document_.Text())) {
        throw EInstallStop("Unable to write to " + fileName_);
    }
    unsaved_ = 0;
}

void UninstallScript::Close() {
    Save();
    fileName_.clear();
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
    // The program's path is quoted, so that Windows never takes the part
    // before a blank in it ("C:\\Program") for a program of its own; the
    // title is quoted as the one argument it is, unless a quote in it would
    // end the quoting early.
    const std::string argument = title.find('"') == std::string::npos ? "\"" + title + "\"" : title;
    set("UninstallString", "\"" + installDirectory + "\\uninstaller.exe\" " + argument);
}

}  // namespace kav::install
