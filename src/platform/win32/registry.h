#pragma once
#include "platform/registry.h"

namespace kav::platform {

// Registry keys through RegCreateKeyExA, RegSetValueExA and RegQueryValueExA.
class Win32Registry final : public Registry {
public:
    bool CreateKey(RootKey root, const std::string& key) override;
    bool SetStringValue(RootKey root, const std::string& key, const std::string& name,
                        const std::string& value) override;
    std::optional<std::string> ReadStringValue(RootKey root, const std::string& key,
                                               const std::string& name) override;
};

}  // namespace kav::platform
