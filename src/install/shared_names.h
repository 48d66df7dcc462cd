#pragma once
// Which file names of the Files list are shared: named (in upper case,
// anywhere in its text) by an entry other than the one that installs the
// file. Asked once per file, so the answer must not cost a walk over the
// whole list: the entries are searched for every name at once when the
// list is taken in (an Aho-Corasick automaton over the names), in time
// linear in the list's text and the matches found.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace kav::install {

class SharedNames {
public:
    // `names[i]` is the file name entry `i` installs; `entries[i]` its text.
    SharedNames(const std::vector<std::string>& names, const std::vector<std::string>& entries);

    // True when an entry other than `index` holds `upperName`. Names not
    // given to the constructor are looked up the slow way.
    bool IsShared(const std::string& upperName, std::size_t index) const;

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Holders {
        std::size_t first = kNone;  // the first entry holding the name
        bool several = false;       // a second entry holds it too
    };

    std::vector<std::string> upperEntries_;
    std::unordered_map<std::string, Holders> holders_;
};

}  // namespace kav::install
