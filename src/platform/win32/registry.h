#pragma once
#include "platform/registry.h"

namespace kav::platform {

// Registry keys through RegCreateKeyExA, RegSetValueExA and RegQueryValueExA;
// removal through RegDeleteValueA and RegDeleteKeyA, a tree leaf first.
class Win32Registry final : public Registry {
public:
    bool CreateKey(RootKey root, const std::string& key) override;
    bool SetStringValue(RootKey root, const std::string& key, const std::string& name,
                        const std::string& value) override;
    std::optional<std::string> ReadStringValue(RootKey root, const std::string& key,
                                               const std::string& name) override;
    bool SetDwordValue(RootKey root, const std::string& key, const std::string& name,
                       std::uint32_t value) override;
    std::optional<std::uint32_t> ReadDwordValue(RootKey root, const std::string& key,
                                                const std::string& name) override;
    bool KeyExists(RootKey root, const std::string& key) override;
    bool DeleteValue(RootKey root, const std::string& key, const std::string& name) override;
    bool DeleteKeyTree(RootKey root, const std::string& key) override;
    bool DeleteEmptyKey(RootKey root, const std::string& key) override;
};

}  // namespace kav::platform
