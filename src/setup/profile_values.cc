#include "setup/profile_values.h"

#include <limits>

namespace kav::setup {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Digits only, at least one, within `limit`.
std::optional<std::uint64_t> ParseDigits(const std::string& digits, int base, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > limit) return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(const std::string& text) {
    constexpr std::uint64_t kHexLimit = 0xFFFFFFFFu;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        auto value = ParseDigits(text.substr(2), 16, kHexLimit);
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
    }
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    const bool hex = at < text.size() && text[at] == '$';
    if (hex) ++at;
    const std::uint64_t limit =
        hex ? kHexLimit
            : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) +
                  (negative ? 1 : 0);
    auto value = ParseDigits(text.substr(at), hex ? 16 : 10, limit);
    if (!value) return std::nullopt;
    const auto magnitude = static_cast<std::uint32_t>(*value);
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

std::string ProfileReader::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const {
    return profiles_.ReadString(file_, section, key, defaultValue);
}

std::int32_t ProfileReader::ReadInteger(const std::string& section, const std::string& key,
                                        std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool ProfileReader::ReadBool(const std::string& section, const std::string& key,
                             bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::uint32_t ProfileReader::ReadColor(const std::string& section, const std::string& key,
                                       std::uint32_t defaultValue) const {
    return static_cast<std::uint32_t>(
        ReadInteger(section, key, static_cast<std::int32_t>(defaultValue)));
}

std::vector<std::string> ProfileReader::ListKeys(const std::string& section) const {
    return profiles_.ListKeys(file_, section);
}

std::vector<std::string> ProfileReader::ListValues(const std::string& section) const {
    std::vector<std::string> values;
    for (auto& [key, value] : profiles_.ReadSectionValues(file_, section)) {
        values.push_back(std::move(value));
    }
    return values;
}

}  // namespace kav::setup
