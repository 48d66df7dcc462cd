#pragma once
// Where the expansion put each file of the set. The files go into numbered
// folders of the temporary directory, kFilesPerFolder to a folder, rather
// than all into one: under Wine, making a name that is not there yet first
// reads the whole folder to match it without regard to case, so in one
// folder of thousands of files each file cost more than the one before.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace kav::setup {

class ExpandedFiles {
public:
    static constexpr std::size_t kFilesPerFolder = 128;

    struct Place {
        std::string path;
        // The folder to make first, or empty when it was made for an
        // earlier file.
        std::string newFolder;
    };

    // Forgets every file: an expansion is starting.
    void Clear();
    // Where the file `name` (a plain file name) is expanded in `directory`.
    // A name expanded before keeps its place, so that the later entry
    // replaces the earlier one, as it would in one folder.
    Place PlaceFor(const std::string& directory, const std::string& name);
    // Where `name` lies in `directory`: where it was expanded, else directly
    // there (the set's install.exe and install.cfg are copied there).
    std::string PathOf(const std::string& directory, const std::string& name) const;

    // True for the name of one of the expansion's folders.
    static bool IsFolderName(const std::string& name);

private:
    // Folder number by the name in upper case.
    std::unordered_map<std::string, std::uint32_t> folders_;
    std::size_t placed_ = 0;
};

}  // namespace kav::setup
