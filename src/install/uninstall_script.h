#pragma once
// The uninstall script uninstall.cfg in the install directory: what the
// engine put on the machine, for the uninstaller to take away, and the
// uninstaller's registration with Windows.
#include <optional>
#include <string>

#include "platform/exception.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace kav::install {

// A failure that ends the install engine; the message is the user's.
class EInstallStop : public kav::Exception {
public:
    using kav::Exception::Exception;
};

inline constexpr const char* kUninstallFiles = "UNINS";
inline constexpr const char* kUninstallFolders = "Folders";
inline constexpr const char* kUninstallRegistry = "Registry";
// Directories the engine made that did not exist before, for the
// uninstaller to remove once they are empty.
inline constexpr const char* kUninstallDirectories = "Directories";
// The AUTOEXEC.BAT that received the marked block, for the
// uninstaller to take the block out again.
inline constexpr const char* kUninstallAutoexec = "AUTOEXEC.BAT";
// How things were before the install, so that the uninstaller can put them
// back (install_undo.h). These are kept across installations into the same
// directory: the first install's record of what was there before stays.
inline constexpr const char* kUninstallFileStates = "File States";
inline constexpr const char* kUninstallIniEntries = "INI Entries";
inline constexpr const char* kUninstallRegistryValues = "Registry Values";
inline constexpr const char* kUninstallRegistryKeys = "Registry Keys";
// The lines of this run's AUTOEXEC.BAT block.
inline constexpr const char* kUninstallAutoexecLines = "AUTOEXEC Lines";

class UninstallScript {
public:
    explicit UninstallScript(platform::ProfileFiles& profiles) : profiles_(profiles) {}

    // Opens installDirectory + "\uninstall.cfg": the lists of an earlier
    // installation are dropped, the title is written and the install
    // directory's own patterns are recorded. Throws EInstallStop.
    void Open(const std::string& installDirectory, const std::string& title);
    bool IsOpen() const { return !fileName_.empty(); }
    const std::string& FileName() const { return fileName_; }
    // Adds `key` with an empty value to `section`; a key written again stays
    // one line. Throws EInstallStop ("Unable to write to <file>").
    void Record(const std::string& section, const std::string& key);
    // Records `key` with `value` unless it is recorded already: the first
    // record wins. Throws EInstallStop.
    void RecordOnce(const std::string& section, const std::string& key, const std::string& value);
    bool IsRecorded(const std::string& section, const std::string& key) {
        return RecordedValue(section, key).has_value();
    }
    std::optional<std::string> RecordedValue(const std::string& section, const std::string& key);
    // Drops a section. Throws EInstallStop.
    void ClearSection(const std::string& section);
    void Close() { fileName_.clear(); }

private:
    void Write(const std::string& section, const std::string& key, const std::string& value);

    platform::ProfileFiles& profiles_;
    std::string fileName_;
};

// The key below HKEY_LOCAL_MACHINE under which Windows lists the product.
std::string UninstallKey(const std::string& title);

// Registers installDirectory + "\uninstaller.exe" for `title`. Throws
// EInstallStop ("Failed to set data for '<value>'").
void RegisterUninstaller(platform::Registry& registry, const std::string& installDirectory,
                         const std::string& title);

}  // namespace kav::install
