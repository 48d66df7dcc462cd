#include "install/record_document.h"

#include "base/ascii_case.h"
#include "base/profile_lines.h"

namespace kav::install {

namespace {

using base::HeaderName;
using base::KeyName;

std::string_view Trim(std::string_view text) { return base::TrimBlanks(text); }

std::string Folded(std::string_view name) { return base::AsciiUpper(Trim(name)); }

std::size_t NameHash(std::string_view name) {
    const std::uint64_t hash = base::HashIgnoringAsciiCase(Trim(name));
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool SameName(std::string_view a, std::string_view b) {
    return base::SameTextIgnoringAsciiCase(Trim(a), Trim(b));
}

}  // namespace

RecordDocument::RecordDocument() { sections_.emplace_back(); }

RecordDocument::RecordDocument(std::string_view text) {
    sections_.emplace_back();
    std::size_t start = 0;
    while (start < text.size()) {
        const auto newline = text.find('\n', start);
        Line line;
        if (newline == std::string_view::npos) {
            line = {std::string(text.substr(start)), Ending::None};
            start = text.size();
        } else {
            const bool crlf = newline > start && text[newline - 1] == '\r';
            const std::size_t end = crlf ? newline - 1 : newline;
            line = {std::string(text.substr(start, end - start)), crlf ? Ending::CrLf : Ending::Lf};
            start = newline + 1;
        }
        if (HeaderName(line.text)) {
            sections_.emplace_back().header = std::move(line);
            continue;
        }
        Section& section = sections_.back();
        section.lines.push_back(std::move(line));
        IndexKey(section, section.lines.size() - 1);
    }
    IndexSections();
}

std::optional<std::size_t> RecordDocument::FindKey(const Section& section, std::string_view key) {
    const std::vector<std::uint32_t>& slots = section.keys.slots;
    if (slots.empty()) return std::nullopt;
    const std::size_t mask = slots.size() - 1;
    for (std::size_t slot = NameHash(key) & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t index = slots[slot] - 1;
        if (SameName(*KeyName(section.lines[index].text), key)) return index;
    }
    return std::nullopt;
}

void RecordDocument::IndexKey(Section& section, std::size_t index) {
    const auto name = KeyName(section.lines[index].text);
    if (!name || FindKey(section, *name)) return;
    KeyIndex& keys = section.keys;
    const auto put = [&keys](std::string_view key, std::size_t line) {
        const std::size_t mask = keys.slots.size() - 1;
        std::size_t slot = NameHash(key) & mask;
        while (keys.slots[slot] != 0) slot = (slot + 1) & mask;
        keys.slots[slot] = static_cast<std::uint32_t>(line + 1);
        ++keys.count;
    };
    // At most half full, so that a search soon meets an empty slot. The
    // table is made again, twice the size, from the lines in order, so that
    // the first line of a name is still the one found.
    if ((keys.count + 1) * 2 > keys.slots.size()) {
        keys.slots.assign(keys.slots.empty() ? 16 : keys.slots.size() * 2, 0);
        keys.count = 0;
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            const auto other = KeyName(section.lines[i].text);
            if (i != index && other && !FindKey(section, *other)) put(*other, i);
        }
    }
    put(*name, index);
}

void RecordDocument::IndexSections() {
    firstSection_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        const std::string_view name =
            section.header ? *HeaderName(section.header->text) : std::string_view();
        firstSection_.try_emplace(Folded(name), i);
    }
}

RecordDocument::Section* RecordDocument::Find(std::string_view section) {
    const auto found = firstSection_.find(Folded(section));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

const RecordDocument::Section* RecordDocument::Find(std::string_view section) const {
    return const_cast<RecordDocument*>(this)->Find(section);
}

std::optional<std::string> RecordDocument::Read(std::string_view section,
                                                std::string_view key) const {
    const Section* found = Find(section);
    if (!found) return std::nullopt;
    const auto line = FindKey(*found, key);
    if (!line) return std::nullopt;
    const std::string_view text = found->lines[*line].text;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view value = Trim(text.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxValueLength));
}

bool RecordDocument::IsEmpty() const {
    return sections_.size() == 1 && sections_.front().lines.empty();
}

RecordDocument::Line* RecordDocument::LastLine() {
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->lines.empty()) return &section->lines.back();
        if (section->header) return &*section->header;
    }
    return nullptr;
}

void RecordDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    if (Section* found = Find(section)) {
        if (const auto line = FindKey(*found, key)) {
            // The key keeps its place and its spelling; only the value changes.
            Line& existing = found->lines[*line];
            existing.text = std::string(*KeyName(existing.text)) + "=" + std::string(value);
            return;
        }
        // After the section's last entry, before the blank lines that end it.
        std::size_t at = found->lines.size();
        while (at > 0 && Trim(found->lines[at - 1].text).empty()) --at;
        Line* before = at > 0 ? &found->lines[at - 1] : found->header ? &*found->header : nullptr;
        if (before && before->ending == Ending::None) before->ending = Ending::CrLf;
        found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at),
                            Line{std::move(entry), Ending::CrLf});
        IndexKey(*found, at);
        return;
    }
    if (!IsEmpty()) {
        Line* last = LastLine();
        if (last && last->ending == Ending::None) last->ending = Ending::CrLf;
        sections_.back().lines.push_back({"", Ending::CrLf});
    }
    Section& added = sections_.emplace_back();
    added.header = Line{"[" + std::string(Trim(section)) + "]", Ending::CrLf};
    added.lines.push_back({std::move(entry), Ending::CrLf});
    IndexKey(added, 0);
    IndexSections();
}

bool RecordDocument::RemoveSection(std::string_view section) {
    const auto found = firstSection_.find(Folded(section));
    if (found == firstSection_.end()) return false;
    if (found->second == 0) {
        sections_.front() = Section();
    } else {
        sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
    }
    IndexSections();
    return true;
}

void RecordDocument::WriteText(const std::function<void(std::string_view)>& piece) const {
    const auto write = [&](const Line& line) {
        piece(line.text);
        piece(line.ending == Ending::CrLf ? "\r\n" : line.ending == Ending::Lf ? "\n" : "");
    };
    for (const Section& section : sections_) {
        if (section.header) write(*section.header);
        for (const Line& line : section.lines) write(line);
    }
}

std::string RecordDocument::Text() const {
    std::string text;
    WriteText([&](std::string_view piece) { text += piece; });
    return text;
}

}  // namespace kav::install
