#include "platform/sim/sim_registry.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kav::platform::sim {

SimRegistry::SimRegistry(std::string file) : file_(std::move(file)) {
    std::ifstream in(file_, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        tree_ = RegistryTree::FromRegedit4(text.str());
    }
}

bool SimRegistry::Commit(RegistryTree changed) {
    const std::string temporary = file_ + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << changed.ToRegedit4();
        if (!out.flush()) return false;
    }
    if (std::rename(temporary.c_str(), file_.c_str()) != 0) return false;
    tree_ = std::move(changed);
    return true;
}

bool SimRegistry::CreateKey(RootKey root, const std::string& key) {
    return Change(key, [&](RegistryTree& tree, const auto& path) { tree.CreateKey(root, path); });
}

bool SimRegistry::SetStringValue(RootKey root, const std::string& key, const std::string& name,
                                 const std::string& value) {
    return Change(
        key, [&](RegistryTree& tree, const auto& path) { tree.SetValue(root, path, name, value); });
}

std::optional<std::string> SimRegistry::ReadStringValue(RootKey root, const std::string& key,
                                                        const std::string& name) {
    const auto path = RegistryTree::SplitKeyPath(key);
    if (!path) return std::nullopt;
    return tree_.ReadValue(root, *path, name);
}

bool SimRegistry::SetDwordValue(RootKey root, const std::string& key, const std::string& name,
                                std::uint32_t value) {
    return Change(
        key, [&](RegistryTree& tree, const auto& path) { tree.SetDword(root, path, name, value); });
}

std::optional<std::uint32_t> SimRegistry::ReadDwordValue(RootKey root, const std::string& key,
                                                         const std::string& name) {
    const auto path = RegistryTree::SplitKeyPath(key);
    if (!path) return std::nullopt;
    return tree_.ReadDword(root, *path, name);
}

bool SimRegistry::KeyExists(RootKey root, const std::string& key) {
    const auto path = RegistryTree::SplitKeyPath(key);
    return path && tree_.HasKey(root, *path);
}

bool SimRegistry::DeleteValue(RootKey root, const std::string& key, const std::string& name) {
    const auto path = RegistryTree::SplitKeyPath(key);
    if (!path) return true;
    RegistryTree changed = tree_;
    if (!changed.RemoveValue(root, *path, name)) return true;
    return Commit(std::move(changed));
}

bool SimRegistry::DeleteKeyTree(RootKey root, const std::string& key) {
    const auto path = RegistryTree::SplitKeyPath(key);
    if (!path || path->empty()) return false;
    RegistryTree changed = tree_;
    if (!changed.RemoveKey(root, *path, false)) return true;
    return Commit(std::move(changed));
}

bool SimRegistry::DeleteEmptyKey(RootKey root, const std::string& key) {
    const auto path = RegistryTree::SplitKeyPath(key);
    if (!path) return false;
    RegistryTree changed = tree_;
    if (!changed.RemoveKey(root, *path, true)) return false;
    return Commit(std::move(changed));
}

}  // namespace kav::platform::sim
