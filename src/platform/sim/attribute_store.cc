#include "platform/sim/attribute_store.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kav::platform::sim {

namespace {

constexpr const char* kForgetMark = "-";
// Appended lines allowed beyond the live entries before a rewrite, so that
// a small store is not rewritten at every change.
constexpr std::size_t kSlackLines = 1024;

std::string EntryLine(const std::string& hostPath, std::uint32_t bits) {
    std::ostringstream line;
    line << std::hex << bits << '\t' << hostPath << '\n';
    return line.str();
}

}  // namespace

AttributeStore::AttributeStore(std::string storeFile) : storeFile_(std::move(storeFile)) {
    std::ifstream in(storeFile_);
    std::string line;
    while (std::getline(in, line)) {
        ++fileLines_;
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        const std::string path = line.substr(tab + 1);
        if (line.compare(0, tab, kForgetMark) == 0) {
            Erase(path);
            continue;
        }
        try {
            bits_[path] = static_cast<std::uint32_t>(std::stoul(line.substr(0, tab), nullptr, 16));
        } catch (const std::exception&) {
            // A damaged line loses only its own entry.
        }
    }
}

std::optional<std::uint32_t> AttributeStore::Find(const std::string& hostPath) const {
    const auto it = bits_.find(hostPath);
    if (it == bits_.end()) return std::nullopt;
    return it->second;
}

bool AttributeStore::Set(const std::string& hostPath, std::uint32_t bits) {
    const auto previous = Find(hostPath);
    bits_[hostPath] = bits;
    if (Append(EntryLine(hostPath, bits))) return true;
    if (previous) {
        bits_[hostPath] = *previous;
    } else {
        bits_.erase(hostPath);
    }
    return false;
}

bool AttributeStore::Erase(const std::string& hostPath) {
    const std::string below = hostPath + "/";
    bool changed = false;
    for (auto it = bits_.lower_bound(hostPath); it != bits_.end();) {
        if (it->first == hostPath || it->first.compare(0, below.size(), below) == 0) {
            it = bits_.erase(it);
            changed = true;
        } else if (it->first.compare(0, hostPath.size(), hostPath) == 0) {
            ++it;  // a sibling such as "name2" sorts among the children
        } else {
            break;
        }
    }
    return changed;
}

void AttributeStore::Forget(const std::string& hostPath) {
    if (Erase(hostPath)) Append(std::string(kForgetMark) + '\t' + hostPath + '\n');
}

bool AttributeStore::Append(const std::string& line) {
    if (fileLines_ >= 2 * bits_.size() + kSlackLines) return Save();
    {
        std::ofstream out(storeFile_, std::ios::app);
        out << line;
        if (!out.flush()) return false;
    }
    ++fileLines_;
    return true;
}

bool AttributeStore::Save() {
    // Written beside and renamed over, so a failed write never leaves a
    // half-written store behind.
    const std::string temporary = storeFile_ + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [path, bits] : bits_) out << EntryLine(path, bits);
        if (!out.flush()) return false;
    }
    if (std::rename(temporary.c_str(), storeFile_.c_str()) != 0) return false;
    fileLines_ = bits_.size();
    return true;
}

}  // namespace kav::platform::sim
