#pragma once
// Reading typed values from the installation script: integers in decimal,
// "$" hexadecimal or "0x" hexadecimal; booleans and colours as integers.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/profile.h"

namespace kav::setup {

// The integer a value text holds, or nothing when it holds none. Values
// beyond 32 bits are not integers; hexadecimal ones up to FFFFFFFF wrap
// around, as colour values with the high bit set need.
std::optional<std::int32_t> ParseInteger(const std::string& text);

// Typed reads of one key of one script file, each falling back to its
// default when the key is missing or unreadable.
class ProfileReader {
public:
    ProfileReader(platform::ProfileFiles& profiles, std::string file)
        : profiles_(profiles), file_(std::move(file)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t defaultValue) const;
    // Any integer other than 0 is true; words such as "yes" are unreadable.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    std::uint32_t ReadColor(const std::string& section, const std::string& key,
                            std::uint32_t defaultValue) const;
    std::vector<std::string> ListKeys(const std::string& section) const;
    // The section's values in key order, read in one go.
    std::vector<std::string> ListValues(const std::string& section) const;

private:
    platform::ProfileFiles& profiles_;
    std::string file_;
};

}  // namespace kav::setup
