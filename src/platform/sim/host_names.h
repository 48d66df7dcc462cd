#pragma once
// The host keeps the simulated machine's names in UTF-8, as Wine keeps a
// Windows volume's and as a real volume keeps them in UTF-16: whatever code
// page the simulated Windows is set to, a name reaches its folder intact and
// is seen on the host under its own characters. The program's side speaks
// code page 1252, so names are converted here, where the two meet.
#include <optional>
#include <string>
#include <string_view>

namespace kav::platform::sim {

// The host form (UTF-8) of a name or path in code page 1252. Every byte has
// one, the five the page leaves undefined included.
std::string HostNameOf(std::string_view name);

// The code page 1252 form of a host name, or nothing when it has none (a
// Cyrillic folder, a name that is not UTF-8).
std::optional<std::string> WindowsNameOfHost(std::string_view hostName);

// The same for a name the system reports: throws ENameOutsideCodePage,
// naming it, where it has no code page 1252 form.
std::string RequireWindowsNameOfHost(std::string_view hostName);

}  // namespace kav::platform::sim
