#pragma once
// Which file names of the Files list are shared: named (in upper case,
// anywhere in its text) by an entry other than the one that installs the
// file. Asked once per file, so the answer must not cost a walk over the
// whole list: the entries are searched for every name at once when the
// list is taken in (an Aho-Corasick automaton over the names), in time
// linear in the list's text and the matches found.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kav::install {

class SharedNames {
public:
    // `names[i]` is the file name entry `i` installs; `entries[i]` its text.
    SharedNames(const std::vector<std::string>& names, const std::vector<std::string>& entries);

    // True when an entry other than `index` holds the name entry `index`
    // installs.
    bool IsShared(std::size_t index) const;

private:
    static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);
    struct Holders {
        std::uint32_t first = kNone;  // the first entry holding the name
        bool several = false;         // a second entry holds it too
    };

    // Each entry's name as an index into holders_; kNone for an empty name,
    // which every text holds.
    std::vector<std::uint32_t> nameOf_;
    std::vector<Holders> holders_;
    std::size_t entryCount_ = 0;
};

}  // namespace kav::install
