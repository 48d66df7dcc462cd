#include "archive/path_parts.h"

#include <algorithm>
#include <array>

namespace kav::archive {
namespace {

std::size_t AfterLastSeparator(std::string_view path) {
    const auto at = path.find_last_of("\\:");
    return at == std::string_view::npos ? 0 : at + 1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace

bool IsDeviceName(std::string_view name) {
    // Windows ignores an extension and trailing dots and blanks here: "nul.txt"
    // and "CON ." open the devices.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
    const std::string upper = AsciiUpper(base);
    if (std::find(kFixed.begin(), kFixed.end(), upper) != kFixed.end()) return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

std::optional<std::string> PlainFileName(std::string_view stored) {
    const auto at = stored.find_last_of("\\/:");
    const std::string_view name = at == std::string_view::npos ? stored : stored.substr(at + 1);
    if (name.find_first_not_of(". ") == std::string_view::npos) return std::nullopt;
    const bool hasControl = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (hasControl || IsDeviceName(name)) return std::nullopt;
    return std::string(name);
}

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, AfterLastSeparator(path)));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(AfterLastSeparator(path)));
}

std::string WithoutTrailingBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return std::string(path);
}

std::string AsciiLower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
    return result;
}

std::string AsciiUpper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
    return result;
}

bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

}  // namespace kav::archive
