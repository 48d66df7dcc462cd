#pragma once
// Windows path text as the simulated machine understands it: drive letters,
// "\" separators, letter case ignored, "." and ".." folded. Pure string work;
// nothing here touches the disk.
#include <string>
#include <string_view>
#include <vector>

namespace kav::platform::sim {

// ASCII case folding, as the file system and the profile and registry
// functions compare names.
char FoldCase(char c);
std::string FoldCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// A fully qualified path taken apart: the drive letter (upper case) and the
// components below the drive root.
struct ParsedPath {
    char drive = 'C';
    std::vector<std::string> components;
    bool trailingSeparator = false;  // the text ended in "\" below the root
};

// Resolves `path` against `currentDirectory` (itself fully qualified) the way
// GetFullPathNameA does: "/" counts as "\", repeated separators collapse,
// "." and ".." fold (never above the root), trailing dots and blanks of a
// component are dropped, "X:name" is relative to the current directory when
// X is its drive and to the root of X otherwise. Returns false for text that
// names no drive path (empty text, UNC names, an invalid drive letter).
bool ParseFullPath(std::string_view path, std::string_view currentDirectory, ParsedPath& out);

// "C:\a\b" (or "C:\" for the root); the trailing "\" is kept when asked.
std::string FormatPath(const ParsedPath& path, bool keepTrailingSeparator);

// True when `name` may be stored as a file or directory name on Windows: no
// control characters and none of < > : " / \ | ? *.
bool IsValidFileName(std::string_view name);

// Matches `name` against a find-first mask with "*" and "?" without regard
// to case. As on Windows, "*.*" matches every name and a mask ending in ".*"
// also matches the same name without any extension.
bool MatchesMask(std::string_view mask, std::string_view name);

}  // namespace kav::platform::sim
