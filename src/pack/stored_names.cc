#include "pack/stored_names.h"

#include <map>

#include "base/path_parts.h"
#include "platform/code_page_1252.h"

namespace kav::pack {
namespace {

// A character of the page; the C1 controls its five undefined bytes would
// stand for are none.
std::optional<char> AnsiOf(char32_t c) {
    if (c >= 0x80 && c < 0xA0) return std::nullopt;
    return platform::CodePage1252ByteOf(c);
}

// Windows compares file names without regard to letter case, also for the
// accented letters of the code page.
char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 0x20);
    if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
    if (u == 0x9F) return static_cast<char>(0xFF);
    return c;
}

}  // namespace

std::optional<std::string> ToWindowsAnsi(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned extra = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) {
                extra = 1;
            } else if ((lead & 0xF0) == 0xE0) {
                extra = 2;
            } else if ((lead & 0xF8) == 0xF0) {
                extra = 3;
            } else {
                return std::nullopt;
            }
        }
        if (utf8.size() - i <= extra) return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (unsigned k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms would smuggle in characters such as "/".
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra]) return std::nullopt;
        i += extra + 1;
        const auto ansi = AnsiOf(c);
        if (!ansi) return std::nullopt;
        out += *ansi;
    }
    return out;
}

StoredName MakeStoredName(const std::vector<std::string>& parts) {
    StoredName result;
    std::string name;
    for (const auto& part : parts) {
        const auto ansi = ToWindowsAnsi(part);
        if (!ansi) return {"", "not representable in the Windows code page 1252"};
        for (char c : *ansi) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F ||
                std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
                return {"", "holds a control character or one of \\ / : * ? \" < > |"};
            }
        }
        // Windows drops a name's trailing blanks and dots.
        if (!ansi->empty() && (ansi->back() == ' ' || ansi->back() == '.')) {
            return {"", "ends in a blank or a dot"};
        }
        if (!name.empty()) name += '\\';
        name += *ansi;
    }
    result.name = name;
    return result;
}

std::optional<std::string> FlatKey(std::string_view stored) {
    auto plain = base::PlainFileName(stored);
    if (!plain) return std::nullopt;
    for (auto& c : *plain) c = FoldCase(c);
    return plain;
}

std::vector<std::string> StoredNameProblems(const std::vector<std::string>& names) {
    std::vector<std::string> problems;
    std::map<std::string, std::string> byKey;
    for (const auto& name : names) {
        if (name.size() > kMaxStoredName) {
            problems.push_back("\"" + name + "\": stored name longer than " +
                               std::to_string(kMaxStoredName) + " bytes");
            continue;
        }
        const auto key = FlatKey(name);
        if (!key) {
            problems.push_back("\"" + name +
                               "\": not a plain file name (device name, dots only"
                               " or control characters)");
            continue;
        }
        if (key->size() > kMaxFileName) {
            problems.push_back("\"" + name + "\": file name longer than " +
                               std::to_string(kMaxFileName) + " characters");
            continue;
        }
        const auto [at, added] = byKey.emplace(*key, name);
        if (!added) {
            problems.push_back("\"" + name + "\": same file name as \"" + at->second +
                               "\"; the installer puts all files into one folder");
        }
    }
    return problems;
}

}  // namespace kav::pack
