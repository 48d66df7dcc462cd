#pragma once
// The registry: keys below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER holding
// string and DWORD (32-bit number) values. Key names are paths with "\" separators, matched without
// regard to case; a leading "\" is ignored.
#include <cstdint>
#include <optional>
#include <string>

namespace kav::platform {

enum class RootKey { LocalMachine, CurrentUser };

class Registry {
public:
    virtual ~Registry() = default;

    // Creates the key with any missing parents, or opens it when it exists.
    // Returns false when that fails; nothing is changed then.
    virtual bool CreateKey(RootKey root, const std::string& key) = 0;
    // Creates or opens the key and sets the named string value (an empty name
    // is the key's default value). Returns false on failure.
    virtual bool SetStringValue(RootKey root, const std::string& key, const std::string& name,
                                const std::string& value) = 0;
    // The named string value, or nothing when the key or value is missing.
    virtual std::optional<std::string> ReadStringValue(RootKey root, const std::string& key,
                                                       const std::string& name) = 0;
    // Creates or opens the key and sets the named DWORD value. Returns false
    // on failure.
    virtual bool SetDwordValue(RootKey root, const std::string& key, const std::string& name,
                               std::uint32_t value) = 0;
    // The named DWORD value, or nothing when the key or value is missing or
    // the value is of another type (as a string value read of a DWORD is).
    virtual std::optional<std::uint32_t> ReadDwordValue(RootKey root, const std::string& key,
                                                        const std::string& name) = 0;
    // True when the key exists.
    virtual bool KeyExists(RootKey root, const std::string& key) = 0;
    // Removes the named value; a missing key or value is no failure. False
    // when it cannot be removed.
    virtual bool DeleteValue(RootKey root, const std::string& key, const std::string& name) = 0;
    // Removes the key with every key and value below it; a missing key is no
    // failure. False when it (or part of it) cannot be removed. A root
    // itself (an empty key path) is refused.
    virtual bool DeleteKeyTree(RootKey root, const std::string& key) = 0;
    // Removes the key only while it holds neither keys nor values; false when
    // it is missing, holds something or cannot be removed.
    virtual bool DeleteEmptyKey(RootKey root, const std::string& key) = 0;
};

}  // namespace kav::platform
