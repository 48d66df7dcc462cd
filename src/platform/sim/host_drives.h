#pragma once
// Where the simulated drives live on the host: C: is <root>/drive_c, any
// other letter <root>/drive_<letter> (made when first used), and Z: is the
// host's own "/", as Wine shows it.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/host_file_stamp.h"
#include "platform/sim/short_names.h"
#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

class HostDrives {
public:
    explicit HostDrives(std::string root);

    const std::string& Root() const { return root_; }
    // Puts a host folder in a drive, as inserting a disk does; it replaces
    // the drive's own folder (or the host's "/" for Z:).
    void Mount(char drive, std::string hostFolder);
    // Shows a host folder at a directory of the machine instead of what is
    // there (a disk put into a drive that the machine reaches by that path).
    // A read-only folder refuses every change below it, whatever the drive.
    void MountAt(const ParsedPath& directory, std::string hostFolder, bool readOnly = false);
    // A read-only drive refuses every change, like a CD: a run that must
    // leave the host alone sees Z: so.
    void SetReadOnly(char drive, bool readOnly);
    bool ReadOnly(char drive) const;
    // True when `path` lies on a read-only drive or in a read-only folder.
    bool ReadOnlyAt(const ParsedPath& path) const;

    // The host folder of a drive letter, created on first use (not for Z:).
    // Nothing when the letter is not a drive or the folder cannot be made.
    std::optional<std::string> DriveFolder(char drive) const;
    // The letters that are drives now, in order: C:, Z:, every mounted
    // drive and every drive whose folder has been made.
    std::vector<char> Letters() const;

    // The system's ANSI code page, which decides the characters a short
    // name may keep (short_names.h). 1252 unless set.
    void SetSystemCodePage(SystemCodePage codePage) { codePage_ = codePage; }
    SystemCodePage CodePage() const { return codePage_; }

    // The host path of a parsed Windows path, its names in the host's form
    // (host_names.h). Each component is looked up as
    // FindEntry does; the first component that does not exist and
    // everything after it keep the case they were given in. Nothing when the
    // drive has no folder.
    std::optional<std::string> HostPath(const ParsedPath& path) const;

    // The stored spelling of the entry `name` (host form) of a host directory, matched
    // without regard to case (an exact match wins) or by its short name, or
    // nothing.
    std::optional<std::string> FindEntry(const std::string& hostDirectory,
                                         const std::string& name) const;
    // Tell the listings kept for lookups without regard to case that this
    // machine has just added or removed the host entry `hostPath`, so that
    // filling a large directory does not read it again for every new name.
    void NoteAdded(const std::string& hostPath) const;
    void NoteRemoved(const std::string& hostPath) const;

private:
    // The names of one host directory, for names not found as spelt. It is
    // read again whenever the directory's stamp shows a change that this
    // machine did not note; only a change by another program within the
    // same clock tick as one of this machine's goes unseen.
    struct Listing {
        HostFileStamp stamp;
        std::vector<std::string> entries;
        // Each name folded to lower case, with the first entry of that name.
        std::unordered_map<std::string, std::string> byFolded;
    };
    // The listing of a host directory as it is now, or null when it cannot
    // be read.
    const Listing* ListingOf(const std::string& hostDirectory) const;

    std::string root_;
    struct DirectoryMount {
        ParsedPath at;
        std::string hostFolder;
        bool readOnly = false;
    };
    // The deepest directory mount that `path` lies in, or nothing.
    const DirectoryMount* MountOf(const ParsedPath& path) const;
    std::map<char, std::string> mounts_;
    std::vector<DirectoryMount> directoryMounts_;
    std::set<char> readOnly_;
    SystemCodePage codePage_ = SystemCodePage::k1252;
    mutable std::unordered_map<std::string, Listing> listings_;  // by host directory
};

}  // namespace kav::platform::sim
