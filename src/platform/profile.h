#pragma once
// Profile (INI) files, read and written as the Windows profile functions do:
// section and key names match without regard to case, values are trimmed of
// surrounding blanks and cut to 1023 characters, keys keep file order.
#include <string>
#include <utility>
#include <vector>

namespace kav::platform {

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // The value of `key` in `section` of `file` (one pair of enclosing quotes
    // removed), or `defaultValue` without its trailing blanks when the file,
    // section or key is missing. Only the first section of a name is seen.
    // A file name without a directory names a file in the Windows directory.
    // Never fails.
    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // The section's key names in file order, all of them however long the
    // section (a listing buffer is grown until the whole list fits). Empty
    // when the file or section is missing.
    virtual std::vector<std::string> ListKeys(const std::string& file,
                                              const std::string& section) = 0;
    // The section's key names as ListKeys gives them, each with the value
    // ReadString gives for it (empty when it has none), read in one go: a
    // list of thousands of entries costs one pass over the file, not one
    // search of it per key.
    using KeyValues = std::vector<std::pair<std::string, std::string>>;
    virtual KeyValues ReadSectionValues(const std::string& file, const std::string& section) {
        KeyValues values;
        for (std::string& key : ListKeys(file, section)) {
            std::string value = ReadString(file, section, key, "");
            values.emplace_back(std::move(key), std::move(value));
        }
        return values;
    }
    // Sets the value, creating the file and section when missing; an existing
    // key keeps its place. Returns false when the file cannot be written; the
    // file is unchanged then.
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // Removes the section with all its keys. Returns false when the file
    // cannot be written. A missing section or file is not an error.
    virtual bool RemoveSection(const std::string& file, const std::string& section) = 0;
    // Removes one key of the section. A missing file, section or key is not
    // an error; false when the file cannot be written.
    virtual bool RemoveKey(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
    // Lets go of the files kept parsed for quick reading; a later read
    // parses its file again. A large file read once, such as a script of
    // thousands of lines, then need not stay in memory for the whole run.
    virtual void ForgetParsedFiles() = 0;
};

}  // namespace kav::platform
