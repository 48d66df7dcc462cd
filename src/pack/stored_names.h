#pragma once
// Stored names of a set's entries: host paths turned into "\"-separated
// names in the Windows ANSI code page (1252), and the checks that every
// name can be placed by the installer, which puts all files flat into one
// directory.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kav::pack {

// The list file's records hold at most this many bytes of name.
inline constexpr std::size_t kMaxStoredName = 8191;
// Longest file name a Windows directory entry takes.
inline constexpr std::size_t kMaxFileName = 255;

// Code page 1252 bytes of UTF-8 text; nothing when the text is not valid
// UTF-8 or holds a character the code page lacks.
std::optional<std::string> ToWindowsAnsi(std::string_view utf8);

// The stored name of a path relative to the source folder, given as its
// UTF-8 parts, or the reason why none can be made.
struct StoredName {
    std::string name;     // "\"-separated, code page 1252; empty on failure
    std::string problem;  // why no name could be made
};
StoredName MakeStoredName(const std::vector<std::string>& parts);

// The file name two stored names are compared by once flattened: the
// plain file name, folded to one letter case as Windows compares names.
std::optional<std::string> FlatKey(std::string_view stored);

// One message per name the installer could not place: too long, not a
// plain file name once flattened, or colliding with an earlier name.
std::vector<std::string> StoredNameProblems(const std::vector<std::string>& names);

}  // namespace kav::pack
