#pragma once
// The line grammar of INI (profile) files, as the Windows profile functions
// read it: blanks around names and values are not part of them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kav::base {

// `text` without the blanks (space, tab, line ends, vertical tab, form
// feed) at either end.
std::string_view TrimBlanks(std::string_view text);
// The section name of a header line ("[name]"), or nothing for other lines.
std::optional<std::string_view> HeaderName(std::string_view line);
// The key name of an entry line: the text before "=", or the whole line
// when it has none. Nothing for blank lines.
std::optional<std::string_view> KeyName(std::string_view line);

// Longest value a read delivers, as the callers' 1024-byte buffers hold.
inline constexpr std::size_t kMaxProfileValueLength = 1023;
// A value as a read delivers it from the text after "=": trimmed, one pair
// of enclosing quotes (double or single) removed, cut to
// kMaxProfileValueLength.
std::string ProfileValue(std::string_view text);

}  // namespace kav::base
