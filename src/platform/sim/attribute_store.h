#pragma once
// The hidden, system and archive bits (and read-only for directories), which
// a host file system cannot hold, kept beside the drives in one text file of
// the root ("attributes.txt": one line per entry, the bits in hexadecimal, a
// tab, the host path). Read-only of files is the host's write permission.
//
// Changes are appended to the file as they happen (a line "-", a tab and a
// host path forgets that path and everything below it), so that setting the
// bits of one file costs the same however many entries the store holds; the
// file is rewritten whole, compacted, once the appended lines outnumber the
// live entries. A later line overrides an earlier one for the same path.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace kav::platform::sim {

class AttributeStore {
public:
    explicit AttributeStore(std::string storeFile);

    // The stored bits of a host path, or nothing when none were stored.
    std::optional<std::uint32_t> Find(const std::string& hostPath) const;
    // Stores the bits; false when the store file cannot be written (the
    // stored bits are unchanged then).
    bool Set(const std::string& hostPath, std::uint32_t bits);
    // Forgets a path, and everything below it when it was a directory.
    void Forget(const std::string& hostPath);

private:
    // Drops `hostPath` and everything below it from the map; true when
    // anything was there.
    bool Erase(const std::string& hostPath);
    // Appends one line, compacting the file when it has grown too long.
    bool Append(const std::string& line);
    bool Save();

    std::string storeFile_;
    std::map<std::string, std::uint32_t> bits_;
    // Lines in the file now, live or overridden.
    std::size_t fileLines_ = 0;
};

}  // namespace kav::platform::sim
