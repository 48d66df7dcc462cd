#pragma once
// The descriptors of a segment set's archives, as the segment reader hands
// them to its owner before expanding.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kav::archive {

struct TSegArc {
    std::string Template;  // the archive's template from its scan record
    std::string ArcDir;    // directory part of Template
    std::uint16_t ArcIndex = 0;
    std::uint8_t ArcTag = 0;
    // Before expansion the entry names from the list file; after it the
    // output paths written.
    std::vector<std::string> FileList;
};

// Owns its descriptors; removing one frees it.
class TSegArcList {
public:
    std::size_t Count() const { return items_.size(); }
    TSegArc& operator[](std::size_t index) { return *items_.at(index); }
    const TSegArc& operator[](std::size_t index) const { return *items_.at(index); }

    void Add(std::unique_ptr<TSegArc> arc) { items_.push_back(std::move(arc)); }
    void Delete(std::size_t index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index)));
    }
    // Moves the descriptor at `from` so that it ends up at `to`.
    void Move(std::size_t from, std::size_t to);
    void Clear() { items_.clear(); }

private:
    std::size_t CheckedIndex(std::size_t index) const;
    std::vector<std::unique_ptr<TSegArc>> items_;
};

}  // namespace kav::archive
