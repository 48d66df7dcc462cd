#pragma once
// 8.3 short names as a FAT or NTFS volume makes them: a name that already
// has the 8.3 form is its own short name; any other becomes the first six
// usable characters of its base in upper case, "~", a number, and the first
// three characters of its extension ("Program Files" -> "PROGRA~1").
#include <string>
#include <string_view>
#include <vector>

namespace kav::platform::sim {

// True for a name of at most eight characters, optionally a dot and at most
// three more, without blanks or characters a short name cannot hold.
bool IsShortName(std::string_view name);

// The short name of `name` among the entries of its directory: names that
// share the same stem and extension are numbered ~1, ~2, ... in the order of
// their folded spelling.
std::string ShortNameOf(std::string_view name, const std::vector<std::string>& directoryEntries);

}  // namespace kav::platform::sim
