#include "support/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/path_parts.h"
#include "platform/errors.h"

namespace kav::archive::testing {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c == '/') c = '\\';
    }
    return text;
}

bool IsDriveRootKey(const std::string& key) {
    return key.size() == 3 && key[1] == ':' && key[2] == '\\';
}

class MemoryFileStream final : public platform::FileStream {
public:
    MemoryFileStream(std::shared_ptr<MemoryFileSystem::File> file, bool exclusive,
                     std::size_t writeLimit = static_cast<std::size_t>(-1))
        : file_(std::move(file)), exclusive_(exclusive), writeLimit_(writeLimit) {
        ++file_->openCount;
        if (exclusive_) file_->openExclusive = true;
    }
    ~MemoryFileStream() override {
        --file_->openCount;
        if (exclusive_) file_->openExclusive = false;
    }

    std::size_t Read(void* buffer, std::size_t count) override {
        auto end = static_cast<std::int64_t>(file_->bytes.size());
        if (file_->readLimit >= 0) end = std::min(end, file_->readLimit);
        if (position_ >= end || count == 0) return 0;
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(count), end - position_));
        std::memcpy(buffer, file_->bytes.data() + position_, n);
        position_ += static_cast<std::int64_t>(n);
        return n;
    }
    void WriteExactly(const void* buffer, std::size_t count) override {
        if (count == 0) return;
        const auto end = static_cast<std::size_t>(position_) + count;
        if (end > writeLimit_) throw platform::EWriteError("Disk full");
        if (end > file_->bytes.size()) file_->bytes.resize(end);
        std::memcpy(file_->bytes.data() + position_, buffer, count);
        position_ = static_cast<std::int64_t>(end);
    }
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(file_->bytes.size()); }
    void Seek(std::int64_t position) override {
        if (position < 0) throw platform::EInOutError("Seek before the start of a file");
        position_ = position;
    }
    bool SetDosDateTime(std::uint32_t dosDateTime) override {
        file_->dosDateTime = dosDateTime;
        return true;
    }

private:
    std::shared_ptr<MemoryFileSystem::File> file_;
    bool exclusive_;
    std::size_t writeLimit_;
    std::int64_t position_ = 0;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() {}

std::string MemoryFileSystem::Key(const std::string& path) {
    std::string full = Upper(FullPathName(path));
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

std::string MemoryFileSystem::ParentKey(const std::string& key) const {
    const auto at = key.find_last_of('\\');
    if (at == std::string::npos) return "";
    return at == 2 ? key.substr(0, 3) : key.substr(0, at);
}

std::string MemoryFileSystem::FullPathName(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.size() >= 2 && p[1] == ':') {
        if (p.size() == 2 || p[2] != '\\') p.insert(2, "\\");
    } else if (!p.empty() && p[0] == '\\') {
        p = current_.substr(0, 2) + p;
    } else {
        p = (current_.back() == '\\' ? current_ : current_ + "\\") + p;
    }
    // Fold "." and ".." components.
    std::vector<std::string> parts;
    std::size_t start = 3;
    while (start <= p.size()) {
        auto end = p.find('\\', start);
        if (end == std::string::npos) end = p.size();
        const std::string part = p.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = p.substr(0, 3);
    for (std::size_t i = 0; i < parts.size(); ++i) result += (i ? "\\" : "") + parts[i];
    return result;
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
    std::string key = Key(path);
    while (!key.empty() && !IsDriveRootKey(key)) {
        directories_.insert(key);
        key = ParentKey(key);
    }
}

void MemoryFileSystem::AddFile(const std::string& path, std::vector<std::uint8_t> bytes) {
    const std::string key = Key(path);
    AddDirectory(ParentKey(key));
    auto file = std::make_shared<File>();
    file->bytes = std::move(bytes);
    files_[key] = file;
}

bool MemoryFileSystem::Has(const std::string& path) const {
    return files_.count(const_cast<MemoryFileSystem*>(this)->Key(path)) != 0;
}

const MemoryFileSystem::File& MemoryFileSystem::At(const std::string& path) const {
    return *files_.at(const_cast<MemoryFileSystem*>(this)->Key(path));
}

MemoryFileSystem::File& MemoryFileSystem::At(const std::string& path) {
    return *files_.at(Key(path));
}

std::vector<std::string> MemoryFileSystem::FilePaths() const {
    std::vector<std::string> paths;
    for (const auto& [key, file] : files_) paths.push_back(key);
    return paths;
}

int MemoryFileSystem::OpenHandles() const {
    int count = 0;
    for (const auto& [key, file] : files_) count += file->openCount;
    return count;
}

bool MemoryFileSystem::ChangeDirectory(const std::string& path) {
    if (!DirectoryExists(path)) return false;
    current_ = FullPathName(path);
    return true;
}

std::vector<platform::FoundFile> MemoryFileSystem::FindFiles(const std::string& pattern,
                                                             std::uint32_t) {
    // Only "dir\*.*" listings are needed here.
    std::vector<platform::FoundFile> found;
    const std::string dir = ParentKey(Key(pattern));
    for (const auto& [key, file] : files_) {
        if (ParentKey(key) == dir) {
            found.push_back({key.substr(key.find_last_of('\\') + 1), file->attributes,
                             static_cast<std::int64_t>(file->bytes.size())});
        }
    }
    return found;
}

bool MemoryFileSystem::FileExists(const std::string& path) { return files_.count(Key(path)) != 0; }

bool MemoryFileSystem::DirectoryExists(const std::string& path) {
    const std::string key = Key(path);
    return IsDriveRootKey(key) || directories_.count(key) != 0;
}

std::optional<std::uint32_t> MemoryFileSystem::GetAttributes(const std::string& path) {
    const std::string key = Key(path);
    if (auto it = files_.find(key); it != files_.end()) return it->second->attributes;
    if (DirectoryExists(path)) return platform::faDirectory;
    return std::nullopt;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return false;
    it->second->attributes = attributes & (platform::faReadOnly | platform::faHidden |
                                           platform::faSysFile | platform::faArchive);
    return true;
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
    const std::string key = Key(path);
    if (DirectoryExists(key) || files_.count(key) || !DirectoryExists(ParentKey(key))) return false;
    directories_.insert(key);
    return true;
}

bool MemoryFileSystem::RemoveEmptyDirectory(const std::string& path) {
    return directories_.erase(Key(path)) != 0;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second->openCount > 0 ||
        (it->second->attributes & platform::faReadOnly)) {
        return false;
    }
    files_.erase(it);
    return true;
}

bool MemoryFileSystem::MoveOnto(const std::string& source, const std::string& target) {
    auto from = files_.find(Key(source));
    if (from == files_.end() || from->second->openCount > 0) return false;
    if (auto to = files_.find(Key(target)); to != files_.end()) {
        if (to->second->openCount > 0 || (to->second->attributes & platform::faReadOnly)) {
            return false;
        }
    }
    auto file = from->second;
    files_.erase(from);
    files_[Key(target)] = file;
    return true;
}

bool MemoryFileSystem::MoveToNew(const std::string& source, const std::string& target) {
    if (files_.count(Key(target)) != 0 || DirectoryExists(target)) return false;
    return MoveOnto(source, target);
}

std::unique_ptr<platform::FileStream> MemoryFileSystem::Open(const std::string& path,
                                                             bool exclusive) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second->openExclusive ||
        (exclusive && it->second->openCount > 0)) {
        throw platform::EFOpenError(path);
    }
    return std::make_unique<MemoryFileStream>(it->second, exclusive);
}

std::unique_ptr<platform::FileStream> MemoryFileSystem::OpenRead(const std::string& path) {
    return Open(path, false);
}

std::unique_ptr<platform::FileStream> MemoryFileSystem::OpenReadExclusive(const std::string& path) {
    return Open(path, true);
}

std::unique_ptr<platform::FileStream> MemoryFileSystem::Create(const std::string& path) {
    const std::string key = Key(path);
    if (refuseCreate.count(key) || !DirectoryExists(ParentKey(key)) || directories_.count(key) ||
        IsDriveRootKey(key)) {
        throw platform::EFCreateError(path);
    }
    if (auto it = files_.find(key); it != files_.end()) {
        if (it->second->openCount > 0 || (it->second->attributes & platform::faReadOnly)) {
            throw platform::EFCreateError(path);
        }
    }
    auto file = std::make_shared<File>();
    files_[key] = file;
    return std::make_unique<MemoryFileStream>(file, true, writeLimit);
}

std::optional<std::uint32_t> MemoryFileSystem::GetDosDateTime(const std::string& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second->dosDateTime;
}

std::optional<std::uint64_t> MemoryFileSystem::FreeSpace(int) { return freeSpace; }

}  // namespace kav::archive::testing
