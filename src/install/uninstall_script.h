#pragma once
// The uninstall script uninstall.cfg in the install directory: what the
// engine put on the machine, for the uninstaller to take away, and the
// uninstaller's registration with Windows.
//
// The script is kept in memory while the engine runs and written whole,
// not key by key: a profile write per record rewrites (or reparses) the
// whole file each time, which made a large install slow down as it went.
// It is saved when opened, every kSaveEvery records, at the end of every
// engine step and when closed; each save writes a scratch file beside it
// and moves that into its place, so an install cut off part-way leaves a
// complete script of what was done up to its last save.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "install/record_document.h"
#include "platform/exception.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace kav::install {

// A failure that ends the install engine; the message is the user's.
class EInstallStop : public kav::Exception {
public:
    using kav::Exception::Exception;
};

inline constexpr const char* kUninstallProgram = "Program";
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
    // Records made between two saves at most.
    static constexpr std::size_t kSaveEvery = 256;

    explicit UninstallScript(platform::FileSystem& files) : files_(files) {}

    // Opens installDirectory + "\uninstall.cfg": the lists of an earlier
    // installation are dropped, the title is written and the install
    // directory's own patterns are recorded; the script is saved. A product
    // ID (the name of the product's Uninstall key) is written beside the
    // title when there is one, or when an earlier install wrote one.
    // An install over another product (another title) takes it over: that
    // product's records of files, link folders and registry keys stay, so
    // that the uninstall still removes what is not installed again. Throws
    // EInstallStop.
    void Open(const std::string& installDirectory, const std::string& title,
              const std::string& productId = "");
    bool IsOpen() const { return !fileName_.empty(); }
    // The Uninstall key name of the product whose script this was before
    // Open, when it was another product's (another title); else empty.
    const std::string& TakenOverKeyName() const { return takenOver_; }
    const std::string& FileName() const { return fileName_; }
    // Adds `key` with an empty value to `section`; a key written again stays
    // one line. Throws EInstallStop ("Unable to write to <file>").
    void Record(const std::string& section, const std::string& key);
    // Records `key` with `value` unless it is recorded already: the first
    // record wins. Throws EInstallStop.
    void RecordOnce(const std::string& section, const std::string& key, const std::string& value);
    bool IsRecorded(const std::string& section, const std::string& key) const {
        return RecordedValue(section, key).has_value();
    }
    // The value as a profile read gives it (trimmed, one pair of quotes
    // removed), or nothing.
    std::optional<std::string> RecordedValue(const std::string& section,
                                             const std::string& key) const {
        return document_.Read(section, key);
    }
    // Drops a section. Throws EInstallStop.
    void ClearSection(const std::string& section);
    // Writes what changed since the last save. Throws EInstallStop.
    void Save();
    // Saves and closes. Throws EInstallStop.
    void Close();

private:
    void Write(const std::string& section, const std::string& key, const std::string& value);
    void Changed();

    platform::FileSystem& files_;
    std::string fileName_;
    RecordDocument document_;
    std::size_t unsaved_ = 0;
    std::string takenOver_;
};

// The key below HKEY_LOCAL_MACHINE under which Windows lists the product
// named `productId` (the title unless the script names a product ID).
std::string UninstallKey(const std::string& productId);

// What Windows' list of programs shows of the product.
struct UninstallEntry {
    std::string title;
    std::string productId;  // the key's name; empty: the title
    std::string installDirectory;
    std::string publisher;    // empty: not written
    std::string version;      // empty: not written
    std::string displayIcon;  // empty: the uninstaller's own icon
    std::uint64_t installedBytes = 0;
    const std::string& KeyName() const { return productId.empty() ? title : productId; }
};

// Removes the Uninstall key `keyName` when its uninstall command starts
// installDirectory + "\uninstaller.exe": the product that lived in that
// folder, now taken over. A key of the name whose uninstaller is elsewhere
// is another product's and stays. False when it could not be removed.
bool RemoveTakenOverRegistration(platform::Registry& registry, const std::string& keyName,
                                 const std::string& installDirectory);

// Registers entry.installDirectory + "\uninstaller.exe" for the product.
// Throws EInstallStop ("Failed to set data for '<value>'").
void RegisterUninstaller(platform::Registry& registry, const UninstallEntry& entry);

}  // namespace kav::install
