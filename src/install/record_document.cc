#include "install/record_document.h"

#include "base/ascii_case.h"
#include "base/profile_lines.h"

namespace kav::install {

namespace {

using base::HeaderName;
using base::KeyName;

std::string_view Trim(std::string_view text) { return base::TrimBlanks(text); }

std::string Folded(std::string_view name) { return base::AsciiUpper(Trim(name)); }

}  // namespace

RecordDocument::RecordDocument() { sections_.emplace_back(); }

RecordDocument::RecordDocument(std::string_view text) {
    sections_.emplace_back();
    std::size_t start = 0;
    while (start < text.size()) {
        const auto newline = text.find('\n', start);
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(text.substr(start));
            start = text.size();
        } else {
            const bool crlf = newline > start && text[newline - 1] == '\r';
            const std::size_t end = crlf ? newline - 1 : newline;
            line = {std::string(text.substr(start, end - start)), crlf ? "\r\n" : "\n"};
            start = newline + 1;
        }
        if (HeaderName(line.text)) {
            sections_.emplace_back().header = std::move(line);
            continue;
        }
        Section& section = sections_.back();
        if (const auto name = KeyName(line.text)) {
            section.keys.try_emplace(Folded(*name), section.lines.size());
        }
        section.lines.push_back(std::move(line));
    }
    IndexSections();
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
    const auto line = found->keys.find(Folded(key));
    if (line == found->keys.end()) return std::nullopt;
    const std::string_view text = found->lines[line->second].text;
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
    const std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    if (Section* found = Find(section)) {
        const std::string folded = Folded(key);
        const auto line = found->keys.find(folded);
        if (line != found->keys.end()) {
            // The key keeps its place and its spelling; only the value changes.
            Line& existing = found->lines[line->second];
            existing.text = std::string(*KeyName(existing.text)) + "=" + std::string(value);
            return;
        }
        // After the section's last entry, before the blank lines that end it.
        std::size_t at = found->lines.size();
        while (at > 0 && Trim(found->lines[at - 1].text).empty()) --at;
        Line* before = at > 0 ? &found->lines[at - 1] : found->header ? &*found->header : nullptr;
        if (before && before->ending.empty()) before->ending = "\r\n";
        found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at),
                            Line{entry, "\r\n"});
        found->keys.emplace(folded, at);
        return;
    }
    if (!IsEmpty()) {
        Line* last = LastLine();
        if (last && last->ending.empty()) last->ending = "\r\n";
        sections_.back().lines.push_back({"", "\r\n"});
    }
    Section& added = sections_.emplace_back();
    added.header = Line{"[" + std::string(Trim(section)) + "]", "\r\n"};
    added.lines.push_back({entry, "\r\n"});
    added.keys.emplace(Folded(key), 0);
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

std::string RecordDocument::Text() const {
    // Sized first: the text of a large product's records is megabytes, and
    // growing it by doubling would hold up to twice that at each save.
    std::size_t size = 0;
    for (const Section& section : sections_) {
        if (section.header) size += section.header->text.size() + section.header->ending.size();
        for (const Line& line : section.lines) size += line.text.size() + line.ending.size();
    }
    std::string text;
    text.reserve(size);
    for (const Section& section : sections_) {
        if (section.header) text += section.header->text + section.header->ending;
        for (const Line& line : section.lines) {
            text += line.text;
            text += line.ending;
        }
    }
    return text;
}

}  // namespace kav::install
