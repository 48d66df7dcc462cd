#pragma once
// The engine's step "Processing Registry Entries / INI Creation":
// the INI - Setup list's entries written as INI keys or registry string
// values, each INI file and registry key recorded in the uninstall script.
#include <string>
#include <vector>

#include "install/directory_table.h"
#include "install/install_engine.h"
#include "install/uninstall_script.h"
#include "platform/machine.h"
#include "platform/registry.h"

namespace kav::install {

// One entry: target "~" section "~" name "~" value, taken with TakeField,
// so the value keeps any further "~" and missing fields repeat the last.
struct IniSetupEntry {
    std::string target;
    std::string section;
    std::string name;
    std::string value;

    static IniSetupEntry Parse(const std::string& entry);
    std::string Join() const;
    // An INI entry: the upper-case target contains ".INI".
    bool IsIni() const;
};

// Replaces a leading tag of `field` (its text up to and including the first
// ">", in upper case) that is `row`'s tag with the row's path and a "\".
// Returns whether the field was replaced.
bool ReplaceLeadingTag(std::string& field, const DirectoryRow& row);

// Where a registry entry writes: the root, the key path taken from it
// (beginning with "\"), and the key as the uninstall script records it.
struct RegistryPlace {
    platform::RootKey root = platform::RootKey::CurrentUser;
    std::string key;
    std::string record;
};

// The separator rules and the root choice of a registry entry.
RegistryPlace PlaceOf(const IniSetupEntry& entry);

// The step, run only for a non-empty list. The placeholder pass stores the
// entries back into `entries`. Throws EInstallStop on a failed INI or
// registry write or uninstall record.
void WriteRegistryAndIniEntries(platform::Machine& machine, InstallView& view,
                                UninstallScript& script, const DirectoryTable& table,
                                const std::string& windowsDirectory,
                                const std::string& installDirectory,
                                std::vector<std::string>& entries);

}  // namespace kav::install
