#pragma once
// The hidden, system and archive bits (and read-only for directories), which
// a host file system cannot hold, kept beside the drives in one text file of
// the root ("attributes.txt": one line per entry, the bits in hexadecimal, a
// tab, the host path). Read-only of files is the host's write permission.
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
    bool Save() const;

    std::string storeFile_;
    std::map<std::string, std::uint32_t> bits_;
};

}  // namespace kav::platform::sim
