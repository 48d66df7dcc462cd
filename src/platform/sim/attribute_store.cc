#include "platform/sim/attribute_store.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kav::platform::sim {

AttributeStore::AttributeStore(std::string storeFile) : storeFile_(std::move(storeFile)) {
    std::ifstream in(storeFile_);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        try {
            bits_[line.substr(tab + 1)] =
                static_cast<std::uint32_t>(std::stoul(line.substr(0, tab), nullptr, 16));
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
    const auto previous = bits_;
    bits_[hostPath] = bits;
    if (Save()) return true;
    bits_ = previous;
    return false;
}

void AttributeStore::Forget(const std::string& hostPath) {
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
    if (changed) Save();
}

bool AttributeStore::Save() const {
    // Written beside and renamed over, so a failed write never leaves a
    // half-written store behind.
    const std::string temporary = storeFile_ + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [path, bits] : bits_) {
            out << std::hex << bits << '\t' << path << '\n';
        }
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), storeFile_.c_str()) == 0;
}

}  // namespace kav::platform::sim
