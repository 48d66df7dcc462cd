#include "platform/sim/journal.h"

#include <fstream>

namespace kav::platform::sim {

void Journal::Append(const std::vector<std::string>& fields) const {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        for (const char c : fields[i]) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    std::ofstream out(file_, std::ios::app | std::ios::binary);
    out << line << '\n';
}

std::vector<std::vector<std::string>> ReadJournal(const std::string& root) {
    std::vector<std::vector<std::string>> entries;
    std::ifstream in(root + "/journal.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const auto tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        entries.push_back(std::move(fields));
    }
    return entries;
}

}  // namespace kav::platform::sim
