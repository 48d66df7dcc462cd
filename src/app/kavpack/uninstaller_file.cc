#include "app/kavpack/uninstaller_file.h"

#include <algorithm>

#include "app/kavpack/source_scan.h"
#include "base/ascii_case.h"
#include "base/profile_document.h"
#include "pack/stored_names.h"

namespace kav::app {

namespace {

// A Files line whose file is the uninstaller and whose directory is the
// install directory itself.
bool ScriptPlacesUninstaller(const std::string& scriptText) {
    const base::ProfileDocument script(scriptText);
    const auto uninstaller = pack::FlatKey(kUninstallerName);
    for (const auto& key : script.ListKeys("Files")) {
        const std::string value = script.Read("Files", key).value_or("");
        const std::size_t cut = value.find('~');
        if (cut == std::string::npos) continue;
        const std::string tag = value.substr(cut + 1, value.find('~', cut + 1) - cut - 1);
        if (pack::FlatKey(value.substr(0, cut)) == uninstaller &&
            base::AsciiUpper(tag) == "<INSTALLDIR>") {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> AddUninstaller(std::vector<pack::PackFile>& files,
                                        const std::filesystem::path& uninstaller,
                                        const std::string& scriptText) {
    std::vector<std::string> warnings;
    const auto key = pack::FlatKey(kUninstallerName);
    const bool inSource = std::any_of(files.begin(), files.end(), [&](const pack::PackFile& f) {
        return pack::FlatKey(f.storedName) == key;
    });
    if (!inSource) {
        std::error_code error;
        if (uninstaller.empty() || !std::filesystem::is_regular_file(uninstaller, error)) {
            warnings.push_back("no uninstaller.exe to put in the set (" +
                               (uninstaller.empty() ? std::string("none built")
                                                    : uninstaller.string() + " not found") +
                               "; give --uninstaller PATH or --no-uninstaller): the product "
                               "cannot be uninstalled");
            return warnings;
        }
        files.push_back(PackFileFor(uninstaller, kUninstallerName));
    }
    if (!ScriptPlacesUninstaller(scriptText)) {
        warnings.push_back(
            "install.cfg has no Files line placing uninstaller.exe in <INSTALLDIR> "
            "(uninstaller.exe~<INSTALLDIR>): the product will not be registered for "
            "uninstalling");
    }
    return warnings;
}

}  // namespace kav::app
