// The registry and INI steps: values put back as they were, the product's
// keys removed unless others share them, the keys the install made removed
// once empty, and the INI keys it set taken out or put back.
#include <algorithm>

#include "base/ascii_case.h"
#include "install/directory_table.h"
#include "install/install_undo.h"
#include "install/uninstall_script.h"
#include "setup/system_paths.h"
#include "uninstall/registry_place.h"
#include "uninstall/removal.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) {
        return base::AsciiUpper(n) == base::AsciiUpper(name);
    });
}

}  // namespace

void Removal::UndoRegistryValues() {
    platform::Registry& registry = machine_.RegistryKeys();
    for (const auto& [placeText, previousRecord] : record_.registryValues) {
        Step(placeText);
        const auto parts = install::SplitPlace(placeText, 2);
        if (parts.size() != 2) continue;
        const RegistryPlace place = ParseRegistryPlace(parts[0]);
        if (place.path.empty()) continue;
        const auto previous = install::PreviousValue(previousRecord);
        const bool done =
            previous ? registry.SetStringValue(place.root, place.Key(), parts[1], *previous)
                     : registry.DeleteValue(place.root, place.Key(), parts[1]);
        if (!done) {
            Left(place.Name() + " " + parts[1], "the value could not be changed");
        } else if (previous) {
            result_.restored.push_back(place.Name() + " " + parts[1]);
        }
    }
}

void Removal::RemoveRegistryKeys() {
    platform::Registry& registry = machine_.RegistryKeys();
    // With the install's own records, a key it did not make held others'
    // data before: only the product's values have gone from it.
    const bool knowsKeys = !record_.registryValues.empty() || !record_.registryKeys.empty();
    std::vector<std::string> created;
    for (const std::string& key : record_.registryKeys) {
        created.push_back(ParseRegistryPlace(key).Name());
    }
    for (const std::string& text : record_.registry) {
        Step(text);
        const RegistryPlace place = ParseRegistryPlace(text);
        if (IsSharedKey(place)) {
            Left(text, "a registry key other programs share");
        } else if (knowsKeys && !Contains(created, place.Name())) {
            if (registry.KeyExists(place.root, place.Key())) {
                Left(place.Name(), "was there before the install; only the product's values went");
            }
        } else if (!registry.KeyExists(place.root, place.Key())) {
            continue;
        } else if (registry.DeleteKeyTree(place.root, place.Key())) {
            result_.removed.push_back(place.Name());
        } else {
            Left(place.Name(), "could not be removed");
        }
    }

    Step(record_.title);
    const std::string& keyName = record_.productId;
    const std::string own = install::UninstallKey(keyName);
    if (!keyName.empty() && keyName.find('\\') == std::string::npos &&
        registry.KeyExists(platform::RootKey::LocalMachine, own)) {
        if (registry.DeleteKeyTree(platform::RootKey::LocalMachine, own)) {
            result_.removed.push_back("HKEY_LOCAL_MACHINE" + own);
        } else {
            Left("HKEY_LOCAL_MACHINE" + own, "could not be removed");
        }
    }

    std::vector<RegistryPlace> made;
    for (const std::string& key : record_.registryKeys) made.push_back(ParseRegistryPlace(key));
    std::stable_sort(made.begin(), made.end(), [](const RegistryPlace& a, const RegistryPlace& b) {
        return a.path.size() > b.path.size();
    });
    for (const RegistryPlace& place : made) {
        Step(place.Name());
        if (!registry.KeyExists(place.root, place.Key())) continue;
        if (IsSystemKey(place)) {
            Left(place.Name(), "a registry key of the system's own");
        } else if (registry.DeleteEmptyKey(place.root, place.Key())) {
            result_.removed.push_back(place.Name());
        } else {
            Left(place.Name(), "not empty");
        }
    }
}

void Removal::UndoIniEntries() {
    platform::ProfileFiles& profiles = machine_.Profiles();
    for (const auto& [placeText, previousRecord] : record_.iniEntries) {
        Step(placeText);
        const auto parts = install::SplitPlace(placeText, 3);
        if (parts.size() != 3) continue;
        const std::string& file = parts[0];
        const std::string& section = parts[1];
        const std::string& key = parts[2];
        const auto previous = install::PreviousValue(previousRecord);
        const std::string name = file + " [" + section + "] " + key;
        // A bare name is a file of the Windows directory, as the profile
        // functions take it.
        const std::string full =
            guard_.Full(file.find_first_of("\\/:") == std::string::npos
                            ? setup::WindowsDirectory(machine_.SystemDirs()) + "\\" + file
                            : file);
        const std::string refusal = guard_.RefusalForFile(full);
        if (!refusal.empty()) {
            Left(name, refusal);
            continue;
        }
        bool done = false;
        if (previous) {
            done = profiles.WriteString(file, section, key, *previous);
        } else {
            done = profiles.RemoveKey(file, section, key);
            // A section that only the product's key filled goes with it.
            if (done && profiles.ListKeys(file, section).empty()) {
                done = profiles.RemoveSection(file, section);
            }
        }
        if (!done) {
            Left(name, "the file could not be written");
        } else if (previous) {
            result_.restored.push_back(name);
        } else {
            result_.removed.push_back(name);
        }
    }
}

}  // namespace kav::uninstall
