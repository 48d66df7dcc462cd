#include "app/kavset/safe_names.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "base/path_parts.h"

namespace kav::app {
namespace {

bool RefusedInNames(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F ||
           std::string_view(":?*<>|\"").find(c) != std::string_view::npos;
}

}  // namespace

SafeName SafeRelativeName(const std::string& stored, bool flat) {
    SafeName result;
    std::string rest = stored;
    if (rest.size() >= 2 && rest[1] == ':') {
        rest.erase(0, 2);
        result.changed = true;
    }
    if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) result.changed = true;

    std::vector<std::string> segments;
    std::string segment;
    auto finish = [&] {
        if (segment.empty() || segment == ".") {
            // nothing to keep
        } else if (segment.find_first_not_of(". ") == std::string::npos) {
            result.changed = true;  // "..", and "..." which Windows reads as "."
        } else {
            if (base::IsDeviceName(segment)) {
                segment.insert(segment.begin(), '_');
                result.changed = true;
            }
            segments.push_back(segment);
        }
        segment.clear();
    };
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            finish();
        } else if (RefusedInNames(c)) {
            segment += '_';
            result.changed = true;
        } else {
            segment += c;
        }
    }
    finish();

    if (flat) {
        // The last word on a flat name is the readers' own rule.
        if (!segments.empty()) {
            result.relative = base::PlainFileName(segments.back()).value_or(std::string());
        }
        return result;
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        result.relative += (i ? "\\" : "") + segments[i];
    }
    return result;
}

std::string PrintableText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            result += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        result += escaped;
    }
    return result;
}

}  // namespace kav::app
