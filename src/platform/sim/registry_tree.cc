#include "platform/sim/registry_tree.h"

#include <cstdio>

#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

std::optional<std::vector<std::string>> RegistryTree::SplitKeyPath(std::string_view key) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= key.size()) {
        auto end = key.find('\\', start);
        if (end == std::string_view::npos) end = key.size();
        const std::string_view part = key.substr(start, end - start);
        if (part.size() > kMaxKeyNameLength) return std::nullopt;
        if (!part.empty()) components.emplace_back(part);
        start = end + 1;
    }
    return components;
}

RegistryTree::Key& RegistryTree::Descend(RootKey root, const std::vector<std::string>& path) {
    Key* key = &RootOf(root);
    for (const std::string& component : path) {
        auto [it, added] = key->subkeys.try_emplace(FoldCase(component));
        if (added) it->second.name = component;
        key = &it->second;
    }
    return *key;
}

const RegistryTree::Key* RegistryTree::Find(RootKey root,
                                            const std::vector<std::string>& path) const {
    const Key* key = root == RootKey::LocalMachine ? &localMachine_ : &currentUser_;
    for (const std::string& component : path) {
        const auto it = key->subkeys.find(FoldCase(component));
        if (it == key->subkeys.end()) return nullptr;
        key = &it->second;
    }
    return key;
}

void RegistryTree::CreateKey(RootKey root, const std::vector<std::string>& path) {
    Descend(root, path);
}

void RegistryTree::SetValue(RootKey root, const std::vector<std::string>& path,
                            const std::string& name, const std::string& value) {
    Set(root, path, name, value, std::nullopt);
}

void RegistryTree::SetDword(RootKey root, const std::vector<std::string>& path,
                            const std::string& name, std::uint32_t value) {
    Set(root, path, name, "", value);
}

void RegistryTree::Set(RootKey root, const std::vector<std::string>& path, const std::string& name,
                       const std::string& text, std::optional<std::uint32_t> dword) {
    auto& values = Descend(root, path).values;
    auto [it, added] = values.try_emplace(FoldCase(name), Value{name, text, dword});
    if (!added) {
        // The first spelling of the name stays.
        it->second.text = text;
        it->second.dword = dword;
    }
}

const RegistryTree::Value* RegistryTree::FindValue(RootKey root,
                                                   const std::vector<std::string>& path,
                                                   const std::string& name) const {
    const Key* key = Find(root, path);
    if (!key) return nullptr;
    const auto it = key->values.find(FoldCase(name));
    return it == key->values.end() ? nullptr : &it->second;
}

std::optional<std::string> RegistryTree::ReadValue(RootKey root,
                                                   const std::vector<std::string>& path,
                                                   const std::string& name) const {
    const Value* value = FindValue(root, path, name);
    if (!value || value->dword) return std::nullopt;
    return value->text;
}

std::optional<std::uint32_t> RegistryTree::ReadDword(RootKey root,
                                                     const std::vector<std::string>& path,
                                                     const std::string& name) const {
    const Value* value = FindValue(root, path, name);
    if (!value) return std::nullopt;
    return value->dword;
}

bool RegistryTree::HasKey(RootKey root, const std::vector<std::string>& path) const {
    return Find(root, path) != nullptr;
}

bool RegistryTree::RemoveValue(RootKey root, const std::vector<std::string>& path,
                               const std::string& name) {
    Key* found = Find(root, path);
    if (!found) return false;
    return found->values.erase(FoldCase(name)) != 0;
}

bool RegistryTree::RemoveKey(RootKey root, const std::vector<std::string>& path,
                             bool onlyWhenEmpty) {
    if (path.empty()) return false;
    const std::vector<std::string> parentPath(path.begin(), path.end() - 1);
    Key* parent = Find(root, parentPath);
    if (!parent) return false;
    auto& siblings = parent->subkeys;
    const auto it = siblings.find(FoldCase(path.back()));
    if (it == siblings.end()) return false;
    if (onlyWhenEmpty && (!it->second.subkeys.empty() || !it->second.values.empty())) return false;
    siblings.erase(it);
    return true;
}

namespace {

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        // Line ends would split the record; they are kept as \r and \n.
        if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\n') {
            quoted += "\\n";
        } else {
            if (c == '\\' || c == '"') quoted += '\\';
            quoted += c;
        }
    }
    return quoted + "\"";
}

// Reads a quoted string starting at `pos` (at the opening quote); leaves
// `pos` after the closing quote. Nothing when the string is not closed.
std::optional<std::string> Unquote(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string text;
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size()) {
            const char escaped = line[++pos];
            text += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped;
        } else if (line[pos] == '"') {
            ++pos;
            return text;
        } else {
            text += line[pos];
        }
    }
    return std::nullopt;
}

// "dword:" and one to eight hex digits, as REGEDIT4 writes a number.
std::optional<std::uint32_t> ParseDword(std::string_view text) {
    constexpr std::string_view prefix = "dword:";
    if (text.size() <= prefix.size() || text.size() > prefix.size() + 8 ||
        !EqualsIgnoringCase(text.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text.substr(prefix.size())) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace

void RegistryTree::Write(const Key& key, const std::string& path, std::string& out) {
    out += "[" + path + "]\r\n";
    for (const auto& [folded, value] : key.values) {
        out += (value.name.empty() ? std::string("@") : Quote(value.name)) + "=";
        if (value.dword) {
            char number[16];
            std::snprintf(number, sizeof number, "dword:%08x", static_cast<unsigned>(*value.dword));
            out += number;
        } else {
            out += Quote(value.text);
        }
        out += "\r\n";
    }
    out += "\r\n";
    for (const auto& [folded, subkey] : key.subkeys) Write(subkey, path + "\\" + subkey.name, out);
}

std::string RegistryTree::ToRegedit4() const {
    std::string out = "REGEDIT4\r\n\r\n";
    for (const Key* root : {&localMachine_, &currentUser_}) {
        for (const auto& [folded, key] : root->subkeys) {
            Write(key, root->name + "\\" + key.name, out);
        }
        if (!root->values.empty()) {
            // Values of the root itself come in a key block of their own.
            Key values{root->name, {}, root->values};
            Write(values, root->name, out);
        }
    }
    return out;
}

RegistryTree RegistryTree::FromRegedit4(std::string_view text) {
    RegistryTree tree;
    // The section being read; values outside a known section are skipped.
    bool inSection = false;
    RootKey root = RootKey::LocalMachine;
    std::vector<std::string> path;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view full = line.substr(1, line.size() - 2);
            const std::string_view rootName = full.substr(0, full.find('\\'));
            const std::string_view rest =
                rootName.size() < full.size() ? full.substr(rootName.size() + 1) : "";
            inSection = false;
            const bool machine = EqualsIgnoringCase(rootName, "HKEY_LOCAL_MACHINE");
            const bool user = EqualsIgnoringCase(rootName, "HKEY_CURRENT_USER");
            const auto components = SplitKeyPath(rest);
            if (!(machine || user) || !components) continue;
            inSection = true;
            root = machine ? RootKey::LocalMachine : RootKey::CurrentUser;
            path = *components;
            tree.CreateKey(root, path);
            continue;
        }
        if (!inSection || line.empty()) continue;
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (auto quoted = Unquote(line, pos)) {
            name = *quoted;
        } else {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        if (auto value = Unquote(line, pos)) {
            tree.SetValue(root, path, name, *value);
        } else if (auto number = ParseDword(line.substr(pos))) {
            tree.SetDword(root, path, name, *number);
        }
    }
    return tree;
}

}  // namespace kav::platform::sim
