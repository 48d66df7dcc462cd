#pragma once
// The text of a profile (INI) file held in memory, for the install's own
// records: read whole once, edited, and written whole by its owner. Edits
// follow the profile functions: untouched lines stay as they were, an
// existing key is rewritten in its own line, a new key goes after the last
// line of its section, a new section goes to the end after a blank line.
// Names match without regard to ASCII case; only the first section of a
// name is seen. Lookups and appends cost the same however long the file
// grows, so a record of thousands of files is made in linear time.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kav::install {

class RecordDocument {
public:
    // Longest value a read delivers, as the profile functions read it.
    static constexpr std::size_t kMaxValueLength = 1023;

    RecordDocument();
    explicit RecordDocument(std::string_view text);

    // The trimmed value of the key, one pair of enclosing quotes removed,
    // cut to kMaxValueLength; nothing when the section or key is missing or
    // the line has no "=".
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    void Write(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section's header and lines. False when there is none.
    bool RemoveSection(std::string_view section);

    std::string Text() const;
    // Hands the text over in pieces, in order: a save need not hold the
    // whole text of a large product's records at once.
    void WriteText(const std::function<void(std::string_view)>& piece) const;

private:
    enum class Ending : std::uint8_t { None, Lf, CrLf };
    struct Line {
        std::string text;  // without its line end
        Ending ending = Ending::CrLf;
    };
    // The first line of each key name, found by a hash of the name in upper
    // case and checked against the line itself: the names are not kept a
    // second time. Open addressing; a slot holds a line's index plus one.
    struct KeyIndex {
        std::vector<std::uint32_t> slots;
        std::size_t count = 0;
    };
    struct Section {
        std::optional<Line> header;  // none for the lines before the first header
        std::deque<Line> lines;      // a deque: it grows without copying itself
        KeyIndex keys;
    };

    static std::optional<std::size_t> FindKey(const Section& section, std::string_view key);
    // Indexes lines[index] by its key name unless an earlier line has it.
    static void IndexKey(Section& section, std::size_t index);
    void IndexSections();
    Section* Find(std::string_view section);
    const Section* Find(std::string_view section) const;
    bool IsEmpty() const;
    // The line that ends the file so far (a header or an entry), or null.
    Line* LastLine();

    // sections_[0] holds the lines before the first header.
    std::vector<Section> sections_;
    // The first section of each upper-case name.
    std::unordered_map<std::string, std::size_t> firstSection_;
};

}  // namespace kav::install
