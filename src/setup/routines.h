#pragma once
// Small helpers shared by every stage.
#include <string>

#include "platform/file_system.h"

namespace kav::setup {

// Takes the text before the first `delimiter` out of `source` into `field`,
// leaving the rest in `source`. Without a delimiter the field is the whole
// source and the source stays as it is, so reading past the last field
// repeats it.
void TakeField(std::string& source, const std::string& delimiter, std::string& field);

// The file-name part of a Windows path: what follows the last "\" or ":".
std::string ExtractFileName(const std::string& path);

// True for a path that names a drive root ("A:", "A:\", "\", "\\server\share").
bool IsDriveRoot(const std::string& path);

// Creates `directory` with any missing parents. False when it does not exist
// afterwards.
bool ForceDirectories(platform::FileSystem& files, const std::string& directory);

}  // namespace kav::setup
