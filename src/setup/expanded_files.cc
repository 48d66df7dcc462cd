#include "setup/expanded_files.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"

namespace kav::setup {

namespace {

std::string FolderPath(const std::string& directory, std::uint32_t folder) {
    return directory + "\\" + std::to_string(folder);
}

}  // namespace

void ExpandedFiles::Clear() {
    folders_.clear();
    placed_ = 0;
}

ExpandedFiles::Place ExpandedFiles::PlaceFor(const std::string& directory,
                                             const std::string& name) {
    const auto [found, added] = folders_.try_emplace(
        base::AsciiUpper(name), static_cast<std::uint32_t>(placed_ / kFilesPerFolder + 1));
    Place place;
    const std::string folder = FolderPath(directory, found->second);
    if (added) {
        if (placed_ % kFilesPerFolder == 0) place.newFolder = folder;
        ++placed_;
    }
    place.path = folder + "\\" + name;
    return place;
}

std::string ExpandedFiles::PathOf(const std::string& directory, const std::string& name) const {
    const auto found = folders_.find(base::AsciiUpper(name));
    if (found == folders_.end()) return directory + "\\" + name;
    return FolderPath(directory, found->second) + "\\" + name;
}

bool ExpandedFiles::IsFolderName(const std::string& name) {
    return !name.empty() && name.size() <= 9 && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace kav::setup
