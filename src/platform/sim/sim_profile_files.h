#pragma once
// Profile files of the simulated machine, kept as text files on its file
// system. A file name without a directory names a file in the Windows
// directory, as the profile functions have it.
#include <optional>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/sim/profile_document.h"

namespace kav::platform::sim {

class SimProfileFiles final : public ProfileFiles {
public:
    SimProfileFiles(FileSystem& files, std::string windowsDirectory);

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    std::vector<std::string> ListKeys(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool RemoveSection(const std::string& file, const std::string& section) override;

private:
    std::string Locate(const std::string& file) const;
    // The file's document, or nothing when it cannot be read.
    std::optional<ProfileDocument> Load(const std::string& path);
    bool Store(const std::string& path, const ProfileDocument& document);

    FileSystem& files_;
    std::string windowsDirectory_;
};

}  // namespace kav::platform::sim
