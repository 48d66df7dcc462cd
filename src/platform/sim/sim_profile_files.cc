#include "platform/sim/sim_profile_files.h"

#include "platform/errors.h"

namespace kav::platform::sim {

namespace {

std::string ReadAll(Stream& stream) {
    std::string text(static_cast<std::size_t>(stream.Size()), '\0');
    text.resize(stream.Read(text.data(), text.size()));
    return text;
}

// A settled stamp shows every change; the bytes are no longer needed.
void DropTextOnceSettled(std::string& text, const HostFileStamp& stamp) {
    if (stamp.settled) std::string().swap(text);
}

}  // namespace

SimProfileFiles::SimProfileFiles(SimFileSystem& files, std::string windowsDirectory)
    : files_(files), windowsDirectory_(std::move(windowsDirectory)) {}

std::string SimProfileFiles::Locate(const std::string& file) const {
    if (file.find_first_of("\\/") == std::string::npos) return windowsDirectory_ + "\\" + file;
    return file;
}

SimProfileFiles::CachedFile* SimProfileFiles::Load(const std::string& path,
                                                   const std::string& hostPath) {
    try {
        // Opened on every read all the same: a file someone holds
        // exclusively cannot be read, cached or not.
        if (!files_.FileExists(path)) throw EFOpenError(path);
        auto stream = files_.OpenRead(path);
        const auto stamp = StampOf(hostPath);
        if (!stamp) throw EFOpenError(path);
        auto cached = cache_.find(hostPath);
        if (cached != cache_.end() && cached->second.stamp.settled &&
            cached->second.stamp.SameState(*stamp)) {
            return &cached->second;
        }
        std::string text = ReadAll(*stream);
        if (cached != cache_.end() && !cached->second.stamp.settled &&
            cached->second.text == text) {
            cached->second.stamp = *stamp;
        } else {
            ProfileDocument document(text);
            cached = cache_
                         .insert_or_assign(hostPath,
                                           CachedFile{*stamp, std::move(text), std::move(document)})
                         .first;
        }
        DropTextOnceSettled(cached->second.text, cached->second.stamp);
        return &cached->second;
    } catch (const EPlatformError&) {
        cache_.erase(hostPath);
        return nullptr;
    }
}

bool SimProfileFiles::Store(const std::string& path, const std::string& hostPath,
                            CachedFile& cached) {
    try {
        std::string text = cached.document.Text();
        files_.Create(path)->WriteExactly(text.data(), text.size());
        const auto stamp = StampOf(hostPath);
        if (!stamp) throw EFCreateError(path);
        cached.stamp = *stamp;
        cached.text = std::move(text);
        DropTextOnceSettled(cached.text, cached.stamp);
        return true;
    } catch (const EPlatformError&) {
        cache_.erase(hostPath);
        return false;
    }
}

const ProfileDocument* SimProfileFiles::Read(const std::string& file) {
    const std::string path = Locate(file);
    const auto host = files_.HostPathOf(path);
    const CachedFile* cached = host ? Load(path, *host) : nullptr;
    return cached ? &cached->document : nullptr;
}

std::string SimProfileFiles::ReadString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    if (const ProfileDocument* document = Read(file)) {
        if (auto value = document->Read(section, key)) return *value;
    }
    return ProfileDocument::MissingValue(defaultValue);
}

std::vector<std::string> SimProfileFiles::ListKeys(const std::string& file,
                                                   const std::string& section) {
    const ProfileDocument* document = Read(file);
    return document ? document->ListKeys(section) : std::vector<std::string>{};
}

ProfileFiles::KeyValues SimProfileFiles::ReadSectionValues(const std::string& file,
                                                           const std::string& section) {
    const ProfileDocument* document = Read(file);
    return document ? document->SectionValues(section) : KeyValues{};
}

bool SimProfileFiles::WriteString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) {
    const std::string path = Locate(file);
    const auto host = files_.HostPathOf(path);
    if (!host) return false;
    CachedFile* cached = nullptr;
    if (files_.FileExists(path)) {
        cached = Load(path, *host);
        if (!cached) return false;
    } else {
        cached = &cache_.insert_or_assign(*host, CachedFile{}).first->second;
    }
    cached->document.Write(section, key, value);
    return Store(path, *host, *cached);
}

bool SimProfileFiles::RemoveSection(const std::string& file, const std::string& section) {
    const std::string path = Locate(file);
    if (!files_.FileExists(path)) return true;
    const auto host = files_.HostPathOf(path);
    CachedFile* cached = host ? Load(path, *host) : nullptr;
    if (!cached) return false;
    if (!cached->document.RemoveSection(section)) return true;
    return Store(path, *host, *cached);
}

bool SimProfileFiles::RemoveKey(const std::string& file, const std::string& section,
                                const std::string& key) {
    const std::string path = Locate(file);
    if (!files_.FileExists(path)) return true;
    const auto host = files_.HostPathOf(path);
    CachedFile* cached = host ? Load(path, *host) : nullptr;
    if (!cached) return false;
    if (!cached->document.RemoveKey(section, key)) return true;
    return Store(path, *host, *cached);
}

// Every change was written back when it was made: nothing is lost.
void SimProfileFiles::ForgetParsedFiles() { cache_.clear(); }

}  // namespace kav::platform::sim
