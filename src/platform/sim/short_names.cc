#include "platform/sim/short_names.h"

#include <algorithm>

#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

namespace {

// The bytes of code page 1252 above 0x7F whose characters the other pages
// have (the rest of each page is other scripts).
constexpr std::string_view kIn1251 =
    "\x80\x82\x84\x85\x86\x87\x89\x8B\x91\x92\x93\x94\x95\x96\x97\x99\x9B\xA0\xA4\xA6"
    "\xA7\xA9\xAB\xAC\xAD\xAE\xB0\xB1\xB5\xB6\xB7\xBB";
constexpr std::string_view kIn932 =
    "\x85\x86\x87\x89\x91\x92\x93\x94\xA2\xA3\xA7\xA8\xAC\xB0\xB1\xB4\xB6\xD7\xF7";

bool IsShortNameCharacter(char c, SystemCodePage codePage) {
    if (static_cast<unsigned char>(c) <= ' ') return false;
    if (!CodePageHas(codePage, c)) return false;
    return std::string_view("\"*+,./:;<=>?[\\]|").find(c) == std::string_view::npos;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Keeps the characters a short name may hold, in upper case; the others
// that are not blanks or dots become "_".
std::string ShortNamePart(std::string_view text, std::size_t limit, SystemCodePage codePage) {
    std::string part;
    for (const char c : text) {
        if (part.size() == limit) break;
        if (c == ' ' || c == '.') continue;
        part += IsShortNameCharacter(c, codePage) ? Upper(c) : '_';
    }
    return part;
}

struct Stem {
    std::string base;       // up to six characters
    std::string extension;  // up to three characters
};

Stem StemOf(std::string_view name, SystemCodePage codePage) {
    const auto dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    Stem stem;
    stem.base = ShortNamePart(hasExtension ? name.substr(0, dot) : name, 6, codePage);
    if (stem.base.empty()) stem.base = "_";
    if (hasExtension) stem.extension = ShortNamePart(name.substr(dot + 1), 3, codePage);
    return stem;
}

}  // namespace

bool CodePageHas(SystemCodePage codePage, char c) {
    if (static_cast<unsigned char>(c) < 0x80) return true;
    switch (codePage) {
        case SystemCodePage::k1252:
            return true;
        case SystemCodePage::k1251:
            return kIn1251.find(c) != std::string_view::npos;
        case SystemCodePage::k932:
            return kIn932.find(c) != std::string_view::npos;
    }
    return false;
}

bool IsShortName(std::string_view name, SystemCodePage codePage) {
    if (name == "." || name == "..") return true;
    if (name.empty()) return false;
    const auto dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    if (dot != std::string_view::npos && extension.empty()) return false;
    const auto allowed = [codePage](char c) { return IsShortNameCharacter(c, codePage); };
    return std::all_of(base.begin(), base.end(), allowed) &&
           std::all_of(extension.begin(), extension.end(), allowed);
}

std::string ShortNameOf(std::string_view name, const std::vector<std::string>& directoryEntries,
                        SystemCodePage codePage) {
    if (IsShortName(name, codePage)) return std::string(name);
    const Stem stem = StemOf(name, codePage);
    std::vector<std::string> siblings;
    for (const std::string& entry : directoryEntries) {
        if (IsShortName(entry, codePage)) continue;
        const Stem other = StemOf(entry, codePage);
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
