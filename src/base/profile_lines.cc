#include "base/profile_lines.h"

namespace kav::base {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string ProfileValue(std::string_view text) {
    std::string_view value = TrimBlanks(text);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxProfileValueLength));
}

std::optional<std::string_view> HeaderName(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return TrimBlanks(trimmed.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) return std::nullopt;
    return TrimBlanks(trimmed.substr(0, trimmed.find('=')));
}

}  // namespace kav::base
