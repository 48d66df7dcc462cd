#pragma once
// What the engine notes, before it changes something that was there, so
// that the uninstaller can put it back: the state of every file it places
// (new, kept at the user's answer, or replaced and saved first), the INI
// keys and registry values it sets with what they held, the registry keys
// it creates, and the lines of its AUTOEXEC.BAT block. The records go to
// sections of their own in the uninstall script.
#include <optional>
#include <string>
#include <vector>

#include "install/uninstall_script.h"
#include "platform/machine.h"

namespace kav::install {

// File States values: a file the install created, and one that was there
// and stayed because the user declined to overwrite it. Any other value is
// the path of the saved copy of a replaced file.
inline constexpr const char* kFileNew = "new";
inline constexpr const char* kFileKept = "kept";
// Where replaced files are saved, below the install directory, each in a
// numbered folder of its own.
inline constexpr const char* kSavedFilesFolder = "\\Setup\\Saved";

// Before a file is copied to `target`: an existing file this install has
// not noted yet is saved first. Returns the state to note once the copy has
// succeeded (NotePlacedFile): "new", the saved copy's path, or "" when the
// file is noted already; nothing when an existing file could not be saved:
// it must not be replaced then. Nothing is noted here, so that a copy that
// fails leaves no record the uninstaller would act on. Throws EInstallStop
// when the script cannot be written.
std::optional<std::string> SaveBeforeReplacing(platform::FileSystem& files, UninstallScript& script,
                                               const std::string& installDirectory,
                                               const std::string& target);
// After the copy to `target` succeeded: notes `state` from
// SaveBeforeReplacing. Throws EInstallStop.
void NotePlacedFile(UninstallScript& script, const std::string& target, const std::string& state);
// After the copy to `target` failed: a file that was there is noted with
// its saved copy all the same (a copy that broke off may have changed it),
// a new one not at all. Throws EInstallStop.
void NoteFailedCopy(UninstallScript& script, const std::string& target, const std::string& state);
// A file left as it was at the user's answer.
void RecordKeptFile(UninstallScript& script, const std::string& target);

// Before an INI key or registry value is written: what it held. The INI
// file `path` (as the profile functions name it: `file`) was there before
// the install and stays; a file this product made in an earlier install
// into the same directory is its own, and its keys are not recorded.
void RecordIniEntry(platform::ProfileFiles& profiles, UninstallScript& script,
                    const std::string& path, const std::string& file, const std::string& section,
                    const std::string& key);
void RecordRegistryValue(platform::Registry& registry, UninstallScript& script,
                         platform::RootKey root, const std::string& key, const std::string& name);

// The block just appended to AUTOEXEC.BAT, markers included.
void RecordAutoexecBlock(UninstallScript& script, const std::vector<std::string>& block);

// The record of a value that was there before ("was:" and the value) or
// not ("new"), and back.
std::string PreviousValueRecord(const std::optional<std::string>& previous);
std::optional<std::string> PreviousValue(const std::string& record);

// Places are recorded as one key: their parts joined by "|", which no file
// or registry path holds. Split keeps any further "|" in the last part.
std::string JoinPlace(const std::vector<std::string>& parts);
std::vector<std::string> SplitPlace(const std::string& place, std::size_t parts);

std::string RootName(platform::RootKey root);

}  // namespace kav::install
