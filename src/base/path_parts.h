#pragma once
// Windows path helpers: directory and file-name parts split at the last
// "\" or ":", drive roots, and names that are safe to place in a folder.
#include <optional>
#include <string>
#include <string_view>

namespace kav::base {

// Everything up to and including the last "\" or ":" ("" when neither).
std::string DirectoryPart(std::string_view path);
// Everything after the last "\" or ":".
std::string FileNamePart(std::string_view path);
// `path` without one trailing "\".
std::string WithoutTrailingBackslash(std::string_view path);
// The file name a stored entry name comes down to when it is placed flat
// into one directory: the part after the last "\\", "/" or ":" (all three
// separate path parts on Windows). Nothing when that part could not name a
// plain file there: empty, "." or "..", only dots and blanks, a device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, with or
// without an extension) or holding control characters.
std::optional<std::string> PlainFileName(std::string_view stored);
// True when `name` names a device rather than a file wherever it is put.
bool IsDeviceName(std::string_view name);

// True when `name` holds a character Windows refuses in a name: a control
// character or one of \ / : * ? " < > |.
bool HoldsRefusedCharacter(std::string_view name);
// A name that can only be one entry of one folder: not empty, not "." or
// "..", and no refused character (no separator, stream or wildcard).
bool IsOneEntryName(std::string_view name);

// True for a path that names a drive root ("A:", "A:\", "\", "\\server\share").
bool IsDriveRoot(std::string_view path);

}  // namespace kav::base
