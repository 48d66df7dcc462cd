#include "archive/path_parts.h"

#include <algorithm>

namespace kav::archive {
namespace {

std::size_t AfterLastSeparator(std::string_view path) {
    const auto at = path.find_last_of("\\:");
    return at == std::string_view::npos ? 0 : at + 1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace

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
