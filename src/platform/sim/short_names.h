#pragma once
// 8.3 short names as a FAT or NTFS volume makes them: a name that already
// has the 8.3 form is its own short name; any other becomes the first six
// usable characters of its base in upper case, "~", a number, and the first
// three characters of its extension ("Program Files" -> "PROGRA~1").
#include <string>
#include <string_view>
#include <vector>

namespace kav::platform::sim {

// The ANSI code page of the simulated Windows. A short name keeps only the
// characters that the system's code page has; the others become "_", so on
// a Russian (1251) or Japanese (932) system "Café.txt" is "CAF_~1.TXT".
enum class SystemCodePage { k1252 = 1252, k1251 = 1251, k932 = 932 };

// Whether the code page has the character of code page 1252 byte `c`.
bool CodePageHas(SystemCodePage codePage, char c);

// True for a name of at most eight characters, optionally a dot and at most
// three more, without blanks or characters a short name cannot hold.
bool IsShortName(std::string_view name, SystemCodePage codePage = SystemCodePage::k1252);

// The short name of `name` among the entries of its directory: names that
// share the same stem and extension are numbered ~1, ~2, ... in the order of
// their folded spelling.
// Names are in code page 1252.
std::string ShortNameOf(std::string_view name, const std::vector<std::string>& directoryEntries,
                        SystemCodePage codePage = SystemCodePage::k1252);

}  // namespace kav::platform::sim
