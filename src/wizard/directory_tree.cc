#include "wizard/directory_tree.h"

namespace kav::wizard {
namespace {

constexpr int kIndentPerLevel = 2;

// "C:\" + "a" + "b" -> "C:\a\b".
std::string Join(const std::vector<std::string>& levels, std::size_t count) {
    std::string path = levels.front();
    for (std::size_t i = 1; i < count; ++i) {
        if (path.back() != '\\') path += '\\';
        path += levels[i];
    }
    return path;
}

}  // namespace

bool DirectoryTree::SetDirectory(const std::string& path) {
    if (path.empty() || !files_.DirectoryExists(path)) return false;
    // The file system's own spelling of the directory is what it reports
    // as the current directory; the program's current directory is left
    // as it was.
    const std::string saved = files_.CurrentDirectory();
    if (!files_.ChangeDirectory(path)) return false;
    const std::string spelled = files_.CurrentDirectory();
    files_.ChangeDirectory(saved);

    directory_ = spelled;
    levels_.assign(1, spelled.substr(0, 3));
    std::size_t start = 3;
    while (start < spelled.size()) {
        std::size_t end = spelled.find('\\', start);
        if (end == std::string::npos) end = spelled.size();
        if (end > start) levels_.push_back(spelled.substr(start, end - start));
        start = end + 1;
    }
    children_ = files_.SubDirectories(directory_);
    return true;
}

std::vector<std::string> DirectoryTree::Items() const {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        items.push_back(std::string(i * kIndentPerLevel, ' ') + levels_[i]);
    }
    for (const std::string& child : children_) {
        items.push_back(std::string(levels_.size() * kIndentPerLevel, ' ') + child);
    }
    return items;
}

std::string DirectoryTree::PathOf(std::size_t item) const {
    if (item < levels_.size()) return Join(levels_, item + 1);
    std::string path = directory_;
    if (path.back() != '\\') path += '\\';
    return path + children_.at(item - levels_.size());
}

}  // namespace kav::wizard
