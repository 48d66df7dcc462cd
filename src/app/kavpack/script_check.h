#pragma once
// Compares the installation script's file lists with the files of the set.
#include <string>
#include <vector>

namespace kav::app {

// Warnings for Files (and WorkStation) lines that name no file of the set,
// and for files of the set that no such line names. The picture named by
// "Bitmap File" and license.txt are read from the expanded set by the
// installer itself and need no line.
std::vector<std::string> FilesListWarnings(const std::string& scriptText,
                                           const std::vector<std::string>& storedNames);

}  // namespace kav::app
