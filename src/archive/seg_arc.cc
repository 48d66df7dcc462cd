#include "archive/seg_arc.h"

#include <stdexcept>

namespace kav::archive {

std::size_t TSegArcList::CheckedIndex(std::size_t index) const {
    if (index >= items_.size()) throw std::out_of_range("TSegArcList index out of bounds");
    return index;
}

void TSegArcList::Move(std::size_t from, std::size_t to) {
    CheckedIndex(from);
    CheckedIndex(to);
    auto item = std::move(items_[from]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(from));
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(to), std::move(item));
}

}  // namespace kav::archive
