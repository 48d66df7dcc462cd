#include "install/registry_ini_step.h"

#include <set>

#include "base/ascii_case.h"
#include "base/take_field.h"
#include "install/install_undo.h"

namespace kav::install {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void Status(platform::Machine& machine, InstallView& view, const std::string& text) {
    view.ShowSource(text);
    machine.Ui().ProcessMessages();
}

void Step(platform::Machine& machine, InstallView& view) {
    view.StepProgress();
    machine.Ui().ProcessMessages();
}

}  // namespace

IniSetupEntry IniSetupEntry::Parse(const std::string& entry) {
    IniSetupEntry parsed;
    std::string rest = entry;
    base::TakeField(rest, "~", parsed.target);
    base::TakeField(rest, "~", parsed.section);
    base::TakeField(rest, "~", parsed.name);
    parsed.value = rest;
    return parsed;
}

std::string IniSetupEntry::Join() const {
    return target + "~" + section + "~" + name + "~" + value;
}

bool IniSetupEntry::IsIni() const {
    return base::AsciiUpper(target).find(".INI") != std::string::npos;
}

bool ReplaceLeadingTag(std::string& field, const DirectoryRow& row) {
    const std::size_t close = field.find('>');
    if (close == std::string::npos) return false;
    if (base::AsciiUpper(field.substr(0, close + 1)) != row.tag) return false;
    field = row.path + "\\" + field.substr(close + 1);
    return true;
}

RegistryPlace PlaceOf(const IniSetupEntry& entry) {
    std::string section = entry.section;
    if (!section.empty() && section.back() == '\\') section.pop_back();
    const std::string& target = entry.target;
    if ((target.empty() || target.back() != '\\') && (section.empty() || section.front() != '\\')) {
        section = "\\" + section;
    }
    RegistryPlace place;
    std::string rest = target;
    const std::string upper = base::AsciiUpper(target);
    if (StartsWith(upper, "HKEY_")) {
        place.root = upper.find("HKEY_LOCAL_MACHINE") != std::string::npos
                         ? platform::RootKey::LocalMachine
                         : platform::RootKey::CurrentUser;
        // A root name alone leaves no key path of its own.
        const std::size_t cut = target.find('\\');
        rest = cut == std::string::npos ? std::string() : target.substr(cut + 1);
    }
    place.key = "\\" + rest + section;
    // The key that holds the value, as the entry spells it: the target
    // alone would name a parent that other products' keys share.
    place.record = target + section;
    while (!place.record.empty() && place.record.back() == '\\') place.record.pop_back();
    return place;
}

void WriteRegistryAndIniEntries(platform::Machine& machine, InstallView& view,
                                UninstallScript& script, const DirectoryTable& table,
                                const std::string& windowsDirectory,
                                const std::string& installDirectory,
                                std::vector<std::string>& entries) {
    if (entries.empty()) return;
    Status(machine, view, "Processing Registry Entries / INI Creation");

    // The placeholder pass. The fields are kept apart from here on: a path
    // put in may hold "~" itself (a short name such as PROGRA~1), and
    // splitting the stored entry again would cut the path there.
    std::vector<IniSetupEntry> parsed;
    parsed.reserve(entries.size());
    for (const std::string& entry : entries) parsed.push_back(IniSetupEntry::Parse(entry));
    for (const DirectoryRow& row : table) {
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            ReplaceLeadingTag(parsed[i].value, row);
            ReplaceLeadingTag(parsed[i].target, row);
            machine.Ui().ProcessMessages();
            entries[i] = parsed[i].Join();
        }
    }

    // INI files this run has created; a file that was there before (such as
    // the Windows directory's system.ini) is not the product's to delete.
    std::set<std::string> created;
    const std::string installPrefix = base::AsciiUpper(installDirectory) + "\\";
    auto& profiles = machine.Profiles();
    auto& registry = machine.RegistryKeys();
    for (const IniSetupEntry& entry : parsed) {
        Step(machine, view);
        if (entry.IsIni()) {
            const std::string file = entry.target.find('\\') != std::string::npos
                                         ? entry.target
                                         : windowsDirectory + "\\" + entry.target;
            const std::string key = base::AsciiUpper(machine.Files().FullPathName(file));
            if (!machine.Files().FileExists(file)) created.insert(key);
            if (created.count(key) != 0 || StartsWith(key, installPrefix)) {
                script.Record(kUninstallFiles, file);
            }
            if (created.count(key) != 0) {
                script.RecordOnce(kUninstallFileStates, file, kFileNew);
            } else {
                RecordIniEntry(profiles, script, file, entry.target, entry.section, entry.name);
            }
            if (!profiles.WriteString(entry.target, entry.section, entry.name, entry.value)) {
                throw EInstallStop("Unable to write to " + entry.target);
            }
            continue;
        }
        const RegistryPlace place = PlaceOf(entry);
        // A root itself can hold no value, and its record would have the
        // uninstaller take every key below it.
        if (place.key.find_first_not_of('\\') == std::string::npos) continue;
        script.Record(kUninstallRegistry, place.record);
        RecordRegistryValue(registry, script, place.root, place.key, entry.name);
        if (!registry.CreateKey(place.root, place.key)) continue;
        if (!registry.SetStringValue(place.root, place.key, entry.name, entry.value)) {
            throw EInstallStop("Failed to set data for '" + entry.name + "'");
        }
    }
}

}  // namespace kav::install
