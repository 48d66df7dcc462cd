#pragma once
// The directory table: the script's Directories list turned into real
// paths, one row per entry in list order, found by the entry's tag.
#include <string>
#include <vector>

namespace kav::install {

// The directories a tag can be resolved against.
struct DirectoryBases {
    std::string windowsDirectory;  // without a trailing "\"
    std::string systemDriveRoot;   // with its "\", e.g. "C:\"
    std::string destination;       // the wizard's destination (Label1)
    std::string installDirectory;  // the destination once an <INSTALLDIR> entry is known
    // The shell's "Program Files", without a trailing "\"; when empty, the
    // system drive root + "Program Files".
    std::string programFilesDirectory;
};

// One Directories entry taken apart at its first "~": the tag in upper
// case and the path as written. Without "~" the whole entry is both.
struct DirectoryEntry {
    std::string tag;
    std::string path;

    static DirectoryEntry Parse(const std::string& entry);
};

inline constexpr const char* kInstallDirTag = "<INSTALLDIR>";

// True when some entry of `directories` has the tag "<INSTALLDIR>".
bool NamesInstallDirectory(const std::vector<std::string>& directories);

// The real directory of one entry, by the rules for predefined tags,
// sub-directory tags (their own name followed by their parent's tag) and
// any other tag (relative to the system drive root).
std::string ResolveDirectory(const DirectoryEntry& entry, const DirectoryBases& bases);

struct DirectoryRow {
    std::string tag;  // upper case
    std::string path;
};

using DirectoryTable = std::vector<DirectoryRow>;

// The tag a "Launch" setting starts with: its leading run of "<...>"
// groups, so that "<SUB1><INSTALLDIR>run.exe" starts with the composite
// tag "<SUB1><INSTALLDIR>", not with "<SUB1>". Empty when the setting does
// not start with "<".
std::string LeadingTag(const std::string& launch);

// Rewrites `launch` when its leading tag is `row`'s tag (in upper case):
// the tag gives way to the row's path and a "\". A tag anywhere else in
// the setting is left alone. Returns whether the setting was rewritten.
bool RewriteLaunch(std::string& launch, const DirectoryRow& row);

}  // namespace kav::install
