#include "base/profile_document.h"

#include "base/ascii_case.h"
#include "base/profile_lines.h"

namespace kav::base {

namespace {

constexpr std::size_t kNoHeader = static_cast<std::size_t>(-1);
constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

using base::HeaderName;
using base::KeyName;

std::string_view Trim(std::string_view text) { return base::TrimBlanks(text); }

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const auto newline = text.find('\n', start);
        if (newline == std::string_view::npos) {
            lines_.push_back({std::string(text.substr(start)), ""});
            break;
        }
        const bool crlf = newline > start && text[newline - 1] == '\r';
        const std::size_t end = crlf ? newline - 1 : newline;
        lines_.push_back({std::string(text.substr(start, end - start)), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
}

const ProfileDocument::Index& ProfileDocument::Indexed() const {
    if (index_) return *index_;
    Index& index = index_.emplace();
    // Lines before the first header form a section with an empty name.
    IndexedSection* current = &index[""];
    current->span = SectionSpan{kNoHeader, lines_.size()};
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i].text;
        if (const auto header = HeaderName(line)) {
            if (current) current->span.end = i;
            const auto [entry, added] = index.try_emplace(AsciiLower(*header));
            current = added ? &entry->second : nullptr;
            if (current) current->span = SectionSpan{i, lines_.size()};
            continue;
        }
        if (!current) continue;
        if (const auto name = KeyName(line)) current->keys.try_emplace(AsciiLower(*name), i);
    }
    return index;
}

const ProfileDocument::IndexedSection* ProfileDocument::FindSection(
    std::string_view section) const {
    const Index& index = Indexed();
    const auto found = index.find(AsciiLower(Trim(section)));
    return found == index.end() ? nullptr : &found->second;
}

std::optional<std::size_t> ProfileDocument::FindKey(const IndexedSection& found,
                                                    std::string_view key) {
    const auto line = found.keys.find(AsciiLower(Trim(key)));
    if (line == found.keys.end()) return std::nullopt;
    return line->second;
}

std::optional<std::string> ProfileDocument::Read(std::string_view section,
                                                 std::string_view key) const {
    const IndexedSection* found = FindSection(section);
    if (!found) return std::nullopt;
    const auto index = FindKey(*found, key);
    if (!index) return std::nullopt;
    const std::string_view line = lines_[*index].text;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return ProfileValue(line.substr(equals + 1));
}

std::vector<std::pair<std::string, std::string>> ProfileDocument::SectionValues(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> values;
    for (std::string& key : ListKeys(section)) {
        std::string value = Read(section, key).value_or("");
        values.emplace_back(std::move(key), std::move(value));
    }
    return values;
}

std::string ProfileDocument::MissingValue(std::string_view defaultValue) {
    std::string value(defaultValue.substr(0, kMaxValueLength));
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    return value;
}

std::vector<std::string> ProfileDocument::ListKeys(std::string_view section) const {
    std::vector<std::string> keys;
    const IndexedSection* found = FindSection(section);
    if (!found) return keys;
    const SectionSpan& span = found->span;
    const std::size_t first = span.header == kNoHeader ? 0 : span.header + 1;
    for (std::size_t i = first; i < span.end; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (!name || name->front() == ';') continue;
        keys.emplace_back(*name);
    }
    return keys;
}

void ProfileDocument::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    const IndexedSection* found = FindSection(section);
    const std::optional<SectionSpan> span =
        found ? std::optional<SectionSpan>(found->span) : std::nullopt;
    // A plain index, not an optional: GCC's size-optimised 32-bit build
    // takes an optional's value here for possibly uninitialised.
    const std::size_t keyLine = found ? FindKey(*found, key).value_or(kNoLine) : kNoLine;
    index_.reset();
    if (keyLine != kNoLine) {
        // The key keeps its place and its spelling; only the value changes.
        const auto name = KeyName(lines_[keyLine].text);
        lines_[keyLine].text = std::string(*name) + "=" + std::string(value);
        return;
    }
    if (span) {
        std::size_t insertAt = span->end;
        const std::size_t first = span->header == kNoHeader ? 0 : span->header + 1;
        while (insertAt > first && Trim(lines_[insertAt - 1].text).empty()) --insertAt;
        if (insertAt > 0 && lines_[insertAt - 1].ending.empty())
            lines_[insertAt - 1].ending = "\r\n";
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      Line{std::string(Trim(key)) + "=" + std::string(value), "\r\n"});
        return;
    }
    if (!lines_.empty()) {
        if (lines_.back().ending.empty()) lines_.back().ending = "\r\n";
        lines_.push_back({"", "\r\n"});
    }
    lines_.push_back({"[" + std::string(Trim(section)) + "]", "\r\n"});
    lines_.push_back({std::string(Trim(key)) + "=" + std::string(value), "\r\n"});
}

bool ProfileDocument::RemoveSection(std::string_view section) {
    const IndexedSection* found = FindSection(section);
    if (!found) return false;
    const SectionSpan span = found->span;
    index_.reset();
    const std::size_t first = span.header == kNoHeader ? 0 : span.header;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(span.end));
    return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
    const IndexedSection* found = FindSection(section);
    const std::size_t keyLine = found ? FindKey(*found, key).value_or(kNoLine) : kNoLine;
    if (keyLine == kNoLine) return false;
    index_.reset();
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(keyLine));
    return true;
}

std::string ProfileDocument::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

}  // namespace kav::base
