#include "base/path_parts.h"

#include <algorithm>
#include <array>

#include "base/ascii_case.h"

namespace kav::base {
namespace {

std::size_t AfterLastSeparator(std::string_view path) {
    const auto at = path.find_last_of("\\:");
    return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace

bool HoldsRefusedCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

bool IsOneEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && !HoldsRefusedCharacter(name);
}

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

bool IsDriveRoot(std::string_view path) {
    std::string_view p = path;
    while (p.size() > 1 && p.back() == '\\') p.remove_suffix(1);
    if (p == "\\") return true;
    if (p.size() == 2 && p[1] == ':') return true;
    if (p.starts_with("\\\\")) {
        // "\\server\share" is the root of a network drive.
        const std::size_t server = p.find('\\', 2);
        return server == std::string_view::npos ||
               p.find('\\', server + 1) == std::string_view::npos;
    }
    return false;
}

}  // namespace kav::base
