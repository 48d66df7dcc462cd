#include "app/kavpack/script_check.h"

#include <map>
#include <set>

#include "base/profile_document.h"
#include "pack/stored_names.h"

namespace kav::app {

std::vector<std::string> FilesListWarnings(const std::string& scriptText,
                                           const std::vector<std::string>& storedNames) {
    const base::ProfileDocument script(scriptText);
    std::map<std::string, std::string> setFiles;  // flat key -> stored name
    for (const auto& name : storedNames) {
        if (auto key = pack::FlatKey(name)) setFiles.emplace(*key, name);
    }

    std::vector<std::string> warnings;
    std::set<std::string> named;
    for (const char* section : {"Files", "WorkStation"}) {
        for (const auto& key : script.ListKeys(section)) {
            const std::string value = script.Read(section, key).value_or("");
            // The installer takes the file-name part of the text before the first "~".
            const std::string source = value.substr(0, value.find('~'));
            const auto flat = pack::FlatKey(source);
            if (flat && setFiles.count(*flat)) {
                named.insert(*flat);
            } else {
                warnings.push_back("install.cfg [" + std::string(section) + "] " + key + "=" +
                                   value + ": no such file in the set");
            }
        }
    }
    for (const char* exempt : {"license.txt"}) {
        if (auto key = pack::FlatKey(exempt)) named.insert(*key);
    }
    if (auto bitmap = script.Read("Setup - Main", "Bitmap File")) {
        if (auto key = pack::FlatKey(*bitmap)) named.insert(*key);
    }
    for (const auto& [key, name] : setFiles) {
        if (!named.count(key)) warnings.push_back(name + ": no Files line of install.cfg names it");
    }
    return warnings;
}

}  // namespace kav::app
