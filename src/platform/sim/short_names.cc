#include "platform/sim/short_names.h"

#include <algorithm>

#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

namespace {

bool IsShortNameCharacter(char c) {
    if (static_cast<unsigned char>(c) <= ' ') return false;
    return std::string_view("\"*+,./:;<=>?[\\]|").find(c) == std::string_view::npos;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Keeps the characters a short name may hold, in upper case; the others
// that are not blanks or dots become "_".
std::string ShortNamePart(std::string_view text, std::size_t limit) {
    std::string part;
    for (const char c : text) {
        if (part.size() == limit) break;
        if (c == ' ' || c == '.') continue;
        part += IsShortNameCharacter(c) ? Upper(c) : '_';
    }
    return part;
}

struct Stem {
    std::string base;       // up to six characters
    std::string extension;  // up to three characters
};

Stem StemOf(std::string_view name) {
    const auto dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    Stem stem;
    stem.base = ShortNamePart(hasExtension ? name.substr(0, dot) : name, 6);
    if (stem.base.empty()) stem.base = "_";
    if (hasExtension) stem.extension = ShortNamePart(name.substr(dot + 1), 3);
    return stem;
}

}  // namespace

bool IsShortName(std::string_view name) {
    if (name == "." || name == "..") return true;
    if (name.empty()) return false;
    const auto dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    if (dot != std::string_view::npos && extension.empty()) return false;
    return std::all_of(base.begin(), base.end(), IsShortNameCharacter) &&
           std::all_of(extension.begin(), extension.end(), IsShortNameCharacter);
}

std::string ShortNameOf(std::string_view name, const std::vector<std::string>& directoryEntries) {
    if (IsShortName(name)) return std::string(name);
    const Stem stem = StemOf(name);
    std::vector<std::string> siblings;
    for (const std::string& entry : directoryEntries) {
        if (IsShortName(entry)) continue;
        const Stem other = StemOf(entry);
        if (other.base == stem.base && other.extension == stem.extension) {
            siblings.push_back(FoldCase(entry));
        }
    }
    std::sort(siblings.begin(), siblings.end());
    const auto position = std::find(siblings.begin(), siblings.end(), FoldCase(name));
    const auto number = static_cast<std::size_t>(position - siblings.begin()) + 1;
    const std::string tail = "~" + std::to_string(number);
    // A number of more digits takes its room from the base.
    std::string shortName = stem.base.substr(0, std::min(stem.base.size(), 8 - tail.size())) + tail;
    if (!stem.extension.empty()) shortName += "." + stem.extension;
    return shortName;
}

}  // namespace kav::platform::sim
