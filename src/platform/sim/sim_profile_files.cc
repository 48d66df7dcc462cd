#include "platform/sim/sim_profile_files.h"

#include "platform/errors.h"

namespace kav::platform::sim {

SimProfileFiles::SimProfileFiles(FileSystem& files, std::string windowsDirectory)
    : files_(files), windowsDirectory_(std::move(windowsDirectory)) {}

std::string SimProfileFiles::Locate(const std::string& file) const {
    if (file.find_first_of("\\/") == std::string::npos) return windowsDirectory_ + "\\" + file;
    return file;
}

std::optional<ProfileDocument> SimProfileFiles::Load(const std::string& path) {
    if (!files_.FileExists(path)) return std::nullopt;
    try {
        auto stream = files_.OpenRead(path);
        std::string text(static_cast<std::size_t>(stream->Size()), '\0');
        text.resize(stream->Read(text.data(), text.size()));
        return ProfileDocument(text);
    } catch (const EPlatformError&) {
        return std::nullopt;
    }
}

bool SimProfileFiles::Store(const std::string& path, const ProfileDocument& document) {
    try {
        const std::string text = document.Text();
        auto stream = files_.Create(path);
        stream->WriteExactly(text.data(), text.size());
        return true;
    } catch (const EPlatformError&) {
        return false;
    }
}

std::string SimProfileFiles::ReadString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    if (const auto document = Load(Locate(file))) {
        if (auto value = document->Read(section, key)) return *value;
    }
    // The profile functions drop trailing blanks of the default.
    std::string fallback = defaultValue.substr(0, ProfileDocument::kMaxValueLength);
    while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t')) {
        fallback.pop_back();
    }
    return fallback;
}

std::vector<std::string> SimProfileFiles::ListKeys(const std::string& file,
                                                   const std::string& section) {
    const auto document = Load(Locate(file));
    return document ? document->ListKeys(section) : std::vector<std::string>{};
}

bool SimProfileFiles::WriteString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) {
    const std::string path = Locate(file);
    ProfileDocument document;
    if (files_.FileExists(path)) {
        auto loaded = Load(path);
        if (!loaded) return false;
        document = std::move(*loaded);
    }
    document.Write(section, key, value);
    return Store(path, document);
}

bool SimProfileFiles::RemoveSection(const std::string& file, const std::string& section) {
    const std::string path = Locate(file);
    if (!files_.FileExists(path)) return true;
    auto document = Load(path);
    if (!document) return false;
    if (!document->RemoveSection(section)) return true;
    return Store(path, *document);
}

}  // namespace kav::platform::sim
