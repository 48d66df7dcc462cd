#pragma once
// What a directory list shows: the current directory's path from its drive
// root down, one item per level, followed by its sub-directories, each
// indented by its depth. A double click on an item opens that directory.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kav::wizard {

class DirectoryTree {
public:
    explicit DirectoryTree(platform::FileSystem& files) : files_(files) {}

    // The directory shown, as the file system spells it ("C:\", "C:\Tool").
    const std::string& Directory() const { return directory_; }
    // Moves to `path` and answers true, or answers false and stays where it
    // is when `path` is not a directory that can be entered.
    bool SetDirectory(const std::string& path);

    // The list's items for the directory shown.
    std::vector<std::string> Items() const;
    // The item index of the directory shown itself.
    int CurrentItem() const { return static_cast<int>(levels_.size()) - 1; }
    // The directory an item stands for.
    std::string PathOf(std::size_t item) const;

private:
    platform::FileSystem& files_;
    std::string directory_;
    std::vector<std::string> levels_;  // "C:\", then each component
    std::vector<std::string> children_;
};

}  // namespace kav::wizard
