#include "uninstall/uninstall_record.h"

#include <map>
#include <set>

#include "base/ascii_case.h"
#include "install/directory_table.h"
#include "install/install_undo.h"
#include "install/text_file.h"

namespace kav::uninstall {

namespace {

using base::AsciiUpper;

// Sections by upper-case name, each its entries in file order.
std::map<std::string, std::vector<RecordEntry>> ParseProfile(const std::string& text) {
    std::map<std::string, std::vector<RecordEntry>> sections;
    std::vector<RecordEntry>* current = nullptr;
    std::set<std::string> seenKeys;
    for (const std::string& raw : install::SplitTextLines(text)) {
        const std::string line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string name = base::AsciiUpper(TrimBlanks(line.substr(1, close - 1)));
            // A section named again later is never seen.
            const bool known = sections.count(name) != 0;
            current = known ? nullptr : &sections[name];
            seenKeys.clear();
            continue;
        }
        if (!current) continue;
        const std::size_t equals = line.find('=');
        const std::string key = TrimBlanks(line.substr(0, equals));
        std::string value = equals == std::string::npos ? "" : TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (key.empty() || !seenKeys.insert(base::AsciiUpper(key)).second) continue;
        current->emplace_back(key, value);
    }
    return sections;
}

std::vector<std::string> Keys(const std::vector<RecordEntry>& entries) {
    std::vector<std::string> keys;
    for (const auto& entry : entries) keys.push_back(entry.first);
    return keys;
}

}  // namespace

UninstallRecord ReadUninstallRecord(platform::FileSystem& files, const std::string& scriptFile) {
    std::string text;
    try {
        text = install::ReadWholeFile(files, scriptFile);
    } catch (const kav::Exception&) {
        throw EUninstallError("Cannot open file " + scriptFile);
    }
    auto sections = ParseProfile(text);
    const auto section = [&](const char* name) { return sections[base::AsciiUpper(name)]; };

    UninstallRecord record;
    record.scriptFile = scriptFile;
    const std::size_t cut = scriptFile.find_last_of('\\');
    record.installDirectory = cut == std::string::npos ? "" : scriptFile.substr(0, cut);
    for (const auto& [key, value] : section("Program")) {
        if (base::AsciiUpper(key) == "TITLE") record.title = value;
        if (base::AsciiUpper(key) == "PRODUCT ID") record.productId = value;
    }
    if (record.productId.empty()) record.productId = record.title;
    record.files = Keys(section(install::kUninstallFiles));
    record.folders = Keys(section(install::kUninstallFolders));
    record.registry = Keys(section(install::kUninstallRegistry));
    record.directories = Keys(section(install::kUninstallDirectories));
    record.autoexecFiles = Keys(section(install::kUninstallAutoexec));
    for (const auto& [key, value] : section(install::kUninstallAutoexecLines)) {
        record.autoexecLines.push_back(value);
    }
    record.fileStates = section(install::kUninstallFileStates);
    record.iniEntries = section(install::kUninstallIniEntries);
    record.registryValues = section(install::kUninstallRegistryValues);
    record.registryKeys = Keys(section(install::kUninstallRegistryKeys));
    return record;
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void CheckTitle(const UninstallRecord& record, const std::string& title) {
    if (record.title.empty() || record.title != title) {
        throw EUninstallError("The uninstall information in " + record.scriptFile +
                              " belongs to \"" + record.title + "\", not to \"" + title +
                              "\". Nothing has been removed.");
    }
}

}  // namespace kav::uninstall
