#pragma once
// The text of one profile (INI) file, read and edited as the Windows profile
// functions do: lines that are not touched stay as they were, an existing key
// is rewritten in its own line, a new key goes after the last line of its
// section, a new section goes to the end of the file after a blank line.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/profile_lines.h"

namespace kav::base {

class ProfileDocument {
public:
    static constexpr std::size_t kMaxValueLength = kMaxProfileValueLength;

    ProfileDocument() = default;
    explicit ProfileDocument(std::string_view text);

    // The trimmed value of the first matching key of the first matching
    // section, one pair of enclosing quotes removed, cut to kMaxValueLength.
    // Nothing when the section or key is missing or the line has no "=".
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // The key names of the first matching section in file order. Lines
    // without "=" list their whole text; comment lines (";") and blank lines
    // are left out. Every name is listed, however long the section.
    std::vector<std::string> ListKeys(std::string_view section) const;
    // Every key of the section, in file order, with the value a read of it
    // gives (a key listed twice gets its first line's value).
    std::vector<std::pair<std::string, std::string>> SectionValues(std::string_view section) const;
    // What a read of a missing key gives for `defaultValue`: the default
    // without its trailing blanks, cut to kMaxValueLength.
    static std::string MissingValue(std::string_view defaultValue);
    void Write(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first matching section: its header and every line up to
    // the next section. False when there is no such section.
    bool RemoveSection(std::string_view section);
    // Removes the key's line from the first matching section. False when
    // there is no such key.
    bool RemoveKey(std::string_view section, std::string_view key);

    std::string Text() const;

private:
    struct Line {
        std::string text;    // without its line end
        std::string ending;  // "\r\n", "\n" or "" for an unterminated last line
    };
    struct SectionSpan {
        std::size_t header;  // index of the header line, or npos before any header
        std::size_t end;     // index one past the section's last line
    };

    // The first section of each name and the first line of each key name
    // in it, names folded to lower case, so that a lookup does not walk the
    // file. Sections named again later are not in it: they are never seen.
    struct IndexedSection {
        SectionSpan span;
        std::unordered_map<std::string, std::size_t> keys;
    };
    using Index = std::unordered_map<std::string, IndexedSection>;

    const Index& Indexed() const;
    // The indexed section, or null.
    const IndexedSection* FindSection(std::string_view section) const;
    // Index of the line holding `key` within the section, or nothing.
    static std::optional<std::size_t> FindKey(const IndexedSection& found, std::string_view key);

    std::vector<Line> lines_;
    // Built on the first lookup; every edit drops it.
    mutable std::optional<Index> index_;
};

}  // namespace kav::base
