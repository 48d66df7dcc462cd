#pragma once
// Windows path helpers the readers share: directory and file-name parts
// split at the last "\" or ":", and ASCII-only case handling (names are
// in the Windows ANSI code page, whose upper half is left alone).
#include <string>
#include <string_view>

namespace kav::archive {

// Everything up to and including the last "\" or ":" ("" when neither).
std::string DirectoryPart(std::string_view path);
// Everything after the last "\" or ":".
std::string FileNamePart(std::string_view path);
// `path` without one trailing "\".
std::string WithoutTrailingBackslash(std::string_view path);
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace kav::archive
