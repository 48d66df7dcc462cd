#pragma once
// The text of one profile (INI) file, read and edited as the Windows profile
// functions do: lines that are not touched stay as they were, an existing key
// is rewritten in its own line, a new key goes after the last line of its
// section, a new section goes to the end of the file after a blank line.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kav::platform::sim {

class ProfileDocument {
public:
    // Longest value a read delivers, as the callers' 1024-byte buffers hold.
    static constexpr std::size_t kMaxValueLength = 1023;
    // Size of the buffer a key listing is made into.
    static constexpr std::size_t kKeyListBuffer = 8192;

    ProfileDocument() = default;
    explicit ProfileDocument(std::string_view text);

    // The trimmed value of the first matching key of the first matching
    // section, one pair of enclosing quotes removed, cut to kMaxValueLength.
    // Nothing when the section or key is missing or the line has no "=".
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // The key names of the first matching section in file order. Lines
    // without "=" list their whole text; comment lines (";") and blank lines
    // are left out. Names stop where the next would not fit, with its zero,
    // into kKeyListBuffer bytes that also hold the list's final zero.
    std::vector<std::string> ListKeys(std::string_view section) const;
    void Write(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first matching section: its header and every line up to
    // the next section. False when there is no such section.
    bool RemoveSection(std::string_view section);

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

    std::optional<SectionSpan> FindSection(std::string_view section) const;
    // Index of the line holding `key` within the span, or nothing.
    std::optional<std::size_t> FindKey(const SectionSpan& span, std::string_view key) const;

    std::vector<Line> lines_;
};

}  // namespace kav::platform::sim
