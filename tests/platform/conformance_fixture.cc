#include "conformance_fixture.h"

#include <algorithm>

namespace kav::platform::testing {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool HasShortForm(const std::string& name) {
    const auto dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    if (dot != std::string::npos && extension.empty()) return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return c == ' '; }) &&
           extension.find('.') == std::string::npos;
}

std::vector<std::string> ComponentsOf(const std::string& path) {
    std::vector<std::string> components;
    std::size_t start = 3;  // after "X:\"
    while (start < path.size()) {
        auto end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) components.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

std::vector<std::string> NonBlankLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace kav::platform::testing
