#include "install/uninstall_script.h"

#include "base/ascii_case.h"
#include "install/text_file.h"

namespace kav::install {

void UninstallScript::Open(const std::string& installDirectory, const std::string& title,
                           const std::string& productId) {
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
    takenOver_.clear();
    const std::string previousTitle = document_.Read(kUninstallProgram, "Title").value_or("");
    const bool takeover = !previousTitle.empty() && previousTitle != title;
    if (takeover) {
        takenOver_ = document_.Read(kUninstallProgram, "Product ID").value_or(previousTitle);
    }
    // The directories an earlier installation made stay recorded: this one
    // finds them present and would not record them again.
    for (const char* section : {kUninstallFiles, kUninstallFolders, kUninstallRegistry,
                                kUninstallAutoexec, kUninstallAutoexecLines}) {
        const std::string name = section;
        const bool kept =
            name == kUninstallFiles || name == kUninstallFolders || name == kUninstallRegistry;
        if (!(takeover && kept)) ClearSection(section);
    }
    Write(kUninstallProgram, "Title", title);
    if (!productId.empty() || document_.Read(kUninstallProgram, "Product ID")) {
        Write(kUninstallProgram, "Product ID", productId.empty() ? title : productId);
    }
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
    const auto text = [&](const std::function<void(std::string_view)>& piece) {
        document_.WriteText(piece);
    };
    if (!ReplaceWholeFile(files_, fileName_, scratch, text)) {
        throw EInstallStop("Unable to write to " + fileName_);
    }
    unsaved_ = 0;
}

void UninstallScript::Close() {
    Save();
    fileName_.clear();
}

std::string UninstallKey(const std::string& productId) {
    return "\\Software\\Microsoft\\Windows\\currentversion\\uninstall\\" + productId;
}

bool RemoveTakenOverRegistration(platform::Registry& registry, const std::string& keyName,
                                 const std::string& installDirectory) {
    if (keyName.empty() || keyName.find('\\') != std::string::npos) return true;
    const std::string key = UninstallKey(keyName);
    const auto command =
        registry.ReadStringValue(platform::RootKey::LocalMachine, key, "UninstallString");
    if (!command) return true;
    // Quoted, as this installer writes it, or unquoted, as it once did.
    const std::string program = base::AsciiUpper(installDirectory + "\\uninstaller.exe");
    std::string text = base::AsciiUpper(*command);
    text.erase(0, text.find_first_not_of(" \t") == std::string::npos
                      ? text.size()
                      : text.find_first_not_of(" \t"));
    const bool quoted = text.rfind("\"" + program + "\"", 0) == 0;
    const bool plain = text.rfind(program, 0) == 0 &&
                       (text.size() == program.size() || text[program.size()] == ' ');
    if (!quoted && !plain) return true;
    return registry.DeleteKeyTree(platform::RootKey::LocalMachine, key);
}

void RegisterUninstaller(platform::Registry& registry, const UninstallEntry& entry) {
    const std::string key = UninstallKey(entry.KeyName());
    constexpr auto root = platform::RootKey::LocalMachine;
    const auto set = [&](const char* name, const std::string& value) {
        if (!registry.SetStringValue(root, key, name, value)) {
            throw EInstallStop(std::string("Failed to set data for '") + name + "'");
        }
    };
    const auto setNumber = [&](const char* name, std::uint32_t value) {
        if (!registry.SetDwordValue(root, key, name, value)) {
            throw EInstallStop(std::string("Failed to set data for '") + name + "'");
        }
    };
    const std::string& title = entry.title;
    set("DisplayName", title);
    // The program's path is quoted, so that Windows never takes the part
    // before a blank in it ("C:\\Program") for a program of its own; the
    // title is quoted as the one argument it is, unless a quote in it would
    // end the quoting early.
    const std::string program = entry.installDirectory + "\\uninstaller.exe";
    const std::string command =
        "\"" + program + "\" " +
        (title.find('"') == std::string::npos ? "\"" + title + "\"" : title);
    set("UninstallString", command);
    set("QuietUninstallString", command + " /VERYSILENT");
    if (!entry.version.empty()) set("DisplayVersion", entry.version);
    if (!entry.publisher.empty()) set("Publisher", entry.publisher);
    set("DisplayIcon", entry.displayIcon.empty() ? program : entry.displayIcon);
    set("InstallLocation", entry.installDirectory);
    // In KiB, rounded up; a size past what the value holds shows as its most.
    const std::uint64_t kib = (entry.installedBytes + 1023) / 1024;
    setNumber("EstimatedSize", kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(kib));
    // The uninstaller is all there is: no change or repair to offer.
    setNumber("NoModify", 1);
    setNumber("NoRepair", 1);
}

}  // namespace kav::install
