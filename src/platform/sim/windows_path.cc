#include "platform/sim/windows_path.h"

namespace kav::platform::sim {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = FoldCase(c);
    return folded;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperDrive(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows ignores trailing dots and blanks of a component ("b." is "b").
std::string TrimComponentEnd(std::string_view component) {
    std::size_t end = component.size();
    while (end > 0 && (component[end - 1] == '.' || component[end - 1] == ' ')) --end;
    return std::string(component.substr(0, end));
}

void AppendComponents(std::string_view text, std::vector<std::string>& components) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        const std::string_view part = text.substr(start, end - start);
        if (part == "..") {
            if (!components.empty()) components.pop_back();
        } else if (!part.empty() && part != ".") {
            std::string trimmed = TrimComponentEnd(part);
            if (!trimmed.empty()) components.push_back(std::move(trimmed));
        }
        start = end + 1;
    }
}

}  // namespace

bool ParseFullPath(std::string_view path, std::string_view currentDirectory, ParsedPath& out) {
    out = ParsedPath{};
    if (path.empty()) return false;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;  // UNC

    ParsedPath base;
    const bool haveBase = !currentDirectory.empty() && ParseFullPath(currentDirectory, {}, base);

    std::string_view rest = path;
    if (path.size() >= 2 && path[1] == ':') {
        if (!IsDriveLetter(path[0])) return false;
        out.drive = UpperDrive(path[0]);
        rest = path.substr(2);
        if (rest.empty() || !IsSeparator(rest[0])) {
            // "X:name": relative to the current directory of that drive, which
            // the process only knows for its current drive.
            if (haveBase && base.drive == out.drive) out.components = base.components;
        }
    } else {
        if (!haveBase) return false;
        out.drive = base.drive;
        if (!IsSeparator(rest[0])) out.components = base.components;
    }
    AppendComponents(rest, out.components);
    out.trailingSeparator = !out.components.empty() && IsSeparator(path.back());
    return true;
}

std::string FormatPath(const ParsedPath& path, bool keepTrailingSeparator) {
    std::string text{path.drive, ':', '\\'};
    for (std::size_t i = 0; i < path.components.size(); ++i) {
        if (i > 0) text += '\\';
        text += path.components[i];
    }
    if (keepTrailingSeparator && path.trailingSeparator) text += '\\';
    return text;
}

bool IsValidFileName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
        switch (c) {
            case '<':
            case '>':
            case ':':
            case '"':
            case '/':
            case '\\':
            case '|':
            case '?':
            case '*':
                return false;
            default:
                break;
        }
    }
    return true;
}

namespace {

bool MatchWildcards(std::string_view mask, std::string_view name) {
    // Iterative matcher with one back-tracking point per "*".
    std::size_t m = 0, n = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view mask, std::string_view name) {
    if (mask == "*.*" || mask == "*") return true;
    if (MatchWildcards(mask, name)) return true;
    const bool nameHasExtension = name.find('.') != std::string_view::npos;
    if (!nameHasExtension && mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*") {
        return MatchWildcards(mask.substr(0, mask.size() - 2), name);
    }
    return false;
}

}  // namespace kav::platform::sim
