#pragma once
// A registry key as the uninstall script names it ("HKEY_LOCAL_MACHINE\..."
// or a path below HKEY_CURRENT_USER), taken apart, and the rule for keys
// that other programs share.
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kav::uninstall {

struct RegistryPlace {
    platform::RootKey root = platform::RootKey::CurrentUser;
    // The key's names below the root; "." and ".." folded, empty ones gone.
    std::vector<std::string> path;

    // The path as the registry takes it ("\" separated).
    std::string Key() const;
    // Root name and path, for people.
    std::string Name() const;
};

// The root is HKEY_LOCAL_MACHINE when a leading "HKEY_" name says so, and
// HKEY_CURRENT_USER otherwise, as the installer chose it.
RegistryPlace ParseRegistryPlace(const std::string& text);

// True for a key that other programs share: a root, anything outside
// "Software", "Software" itself and any key fewer than two levels below it,
// and everything below the system's own vendor, classes and policies keys.
bool IsSharedKey(const RegistryPlace& place);

// True for a key Windows itself keeps, which no install can have made: a
// root, a key right below one ("Software", "Control Panel", but not a
// product's own such as a file type's ".ext"), and the system's vendor,
// classes and policies keys and what lies below them. A key the install
// made is removed once empty unless it is one of these.
bool IsSystemKey(const RegistryPlace& place);

}  // namespace kav::uninstall
