#pragma once
// The bytes of a Windows shell link (".lnk") file: the 76-byte header, a
// LinkInfo structure with the target as local base path on a fixed drive,
// and the ANSI string data (description, working directory, arguments,
// icon location), ended by the terminal extra-data block. Files written
// this way open on Windows like the ones its shell writes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace kav::platform::sim {

std::vector<std::uint8_t> ShellLinkFileBytes(const ShellLink& link);

}  // namespace kav::platform::sim
