#include "app/kavset/safe_names.h"

#include <vector>

namespace kav::app {

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
        if (segment == "..") {
            result.changed = true;
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        segment.clear();
    };
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            finish();
        } else if (c == ':') {
            segment += '_';
            result.changed = true;
        } else {
            segment += c;
        }
    }
    finish();

    if (flat) {
        if (!segments.empty()) result.relative = segments.back();
        return result;
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        result.relative += (i ? "\\" : "") + segments[i];
    }
    return result;
}

}  // namespace kav::app
