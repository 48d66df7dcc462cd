#pragma once
// The simulated registry: a RegistryTree kept in a REGEDIT4 file of the
// root ("registry.reg"), read at start and written after every change.
#include <string>

#include "platform/registry.h"
#include "platform/sim/registry_tree.h"

namespace kav::platform::sim {

class SimRegistry final : public Registry {
public:
    explicit SimRegistry(std::string file);

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

private:
    // Writes `changed` to the file and adopts it; false (and nothing
    // adopted) when the file cannot be written.
    bool Commit(RegistryTree changed);
    // Applies `edit` to a copy of the tree at `key`'s path and commits the
    // copy; false when the key is no path or the file cannot be written.
    template <typename Edit>
    bool Change(const std::string& key, Edit edit) {
        const auto path = RegistryTree::SplitKeyPath(key);
        if (!path) return false;
        RegistryTree changed = tree_;
        edit(changed, *path);
        return Commit(std::move(changed));
    }

    std::string file_;
    RegistryTree tree_;
};

}  // namespace kav::platform::sim
