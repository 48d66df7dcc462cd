#include "platform/sim/open_file_table.h"

namespace kav::platform::sim {

bool OpenFileTable::MayOpen(const FileIdentity& file, OpenMode mode) const {
    const auto [first, last] = opens_.equal_range(file);
    if (first == last) return true;
    if (mode != OpenMode::SharedRead) return false;
    for (auto it = first; it != last; ++it) {
        if (it->second != OpenMode::SharedRead) return false;
    }
    return true;
}

bool OpenFileTable::IsOpen(const FileIdentity& file) const { return opens_.count(file) > 0; }

void OpenFileTable::Add(const FileIdentity& file, OpenMode mode) { opens_.emplace(file, mode); }

void OpenFileTable::Remove(const FileIdentity& file, OpenMode mode) {
    const auto [first, last] = opens_.equal_range(file);
    for (auto it = first; it != last; ++it) {
        if (it->second == mode) {
            opens_.erase(it);
            return;
        }
    }
}

}  // namespace kav::platform::sim
