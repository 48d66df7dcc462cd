#pragma once
// The simulated registry's contents: the two roots the program uses, their
// keys and string and DWORD values, and their REGEDIT4 text form. Names keep the case
// they were created with and match without regard to case.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace kav::platform::sim {

class RegistryTree {
public:
    // Longest key name component the registry accepts.
    static constexpr std::size_t kMaxKeyNameLength = 255;

    // The components of a key path: "\" separated, empty components (a
    // leading, doubled or trailing "\") ignored. Nothing when a component is
    // too long.
    static std::optional<std::vector<std::string>> SplitKeyPath(std::string_view key);

    void CreateKey(RootKey root, const std::vector<std::string>& path);
    void SetValue(RootKey root, const std::vector<std::string>& path, const std::string& name,
                  const std::string& value);
    void SetDword(RootKey root, const std::vector<std::string>& path, const std::string& name,
                  std::uint32_t value);
    // Each nothing when the value is missing or of the other type.
    std::optional<std::string> ReadValue(RootKey root, const std::vector<std::string>& path,
                                         const std::string& name) const;
    std::optional<std::uint32_t> ReadDword(RootKey root, const std::vector<std::string>& path,
                                           const std::string& name) const;
    bool HasKey(RootKey root, const std::vector<std::string>& path) const;
    // Each false when there was nothing to remove (or, for the empty key,
    // when it holds something); a root itself is never removed.
    bool RemoveValue(RootKey root, const std::vector<std::string>& path, const std::string& name);
    bool RemoveKey(RootKey root, const std::vector<std::string>& path, bool onlyWhenEmpty);

    // The whole tree as a REGEDIT4 file: "REGEDIT4", a blank line, then per
    // key its "[HKEY_...\path]" line, its values ("name"="text", @ for the
    // default value; \ and " escaped with \; a DWORD as "name"=dword:
    // and eight hex digits), and a blank line.
    std::string ToRegedit4() const;
    // Reads that form; lines it does not understand are skipped.
    static RegistryTree FromRegedit4(std::string_view text);

private:
    struct Value {
        std::string name;  // as first spelt
        std::string text;
        std::optional<std::uint32_t> dword;  // set for a DWORD value
    };
    struct Key {
        std::string name;
        // Both maps are keyed by the folded name and keep the stored spelling.
        std::map<std::string, Key> subkeys;
        std::map<std::string, Value> values;
    };

    Key& RootOf(RootKey root) {
        return root == RootKey::LocalMachine ? localMachine_ : currentUser_;
    }
    Key& Descend(RootKey root, const std::vector<std::string>& path);
    const Key* Find(RootKey root, const std::vector<std::string>& path) const;
    void Set(RootKey root, const std::vector<std::string>& path, const std::string& name,
             const std::string& text, std::optional<std::uint32_t> dword);
    const Value* FindValue(RootKey root, const std::vector<std::string>& path,
                           const std::string& name) const;
    Key* Find(RootKey root, const std::vector<std::string>& path) {
        return const_cast<Key*>(std::as_const(*this).Find(root, path));
    }
    static void Write(const Key& key, const std::string& path, std::string& out);

    Key localMachine_{"HKEY_LOCAL_MACHINE", {}, {}};
    Key currentUser_{"HKEY_CURRENT_USER", {}, {}};
};

}  // namespace kav::platform::sim
