#pragma once
// Profile files of the simulated machine, kept as text files on its file
// system. A file name without a directory names a file in the Windows
// directory, as the profile functions have it.
//
// Each file is parsed once and kept until it changes, so that reading a
// long section key by key does not parse the file again for every key. A
// change by anyone (this machine, another program on the host) gives the
// host file another stamp or, within the same clock tick, other bytes.
#include <string>
#include <unordered_map>

#include "base/profile_document.h"
#include "platform/profile.h"
#include "platform/sim/host_file_stamp.h"
#include "platform/sim/sim_file_system.h"

namespace kav::platform::sim {

using base::ProfileDocument;

class SimProfileFiles final : public ProfileFiles {
public:
    SimProfileFiles(SimFileSystem& files, std::string windowsDirectory);

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    std::vector<std::string> ListKeys(const std::string& file, const std::string& section) override;
    KeyValues ReadSectionValues(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool RemoveSection(const std::string& file, const std::string& section) override;
    bool RemoveKey(const std::string& file, const std::string& section,
                   const std::string& key) override;
    void ForgetParsedFiles() override;

private:
    struct CachedFile {
        HostFileStamp stamp;
        // The bytes parsed, kept only while the stamp is not settled: then
        // the stamp alone cannot show a change, the bytes can.
        std::string text;
        ProfileDocument document;
    };

    std::string Locate(const std::string& file) const;
    // The cached file `path` (host path `hostPath`) as it is now, or null
    // when it cannot be read (missing, held by another, not a file).
    CachedFile* Load(const std::string& path, const std::string& hostPath);
    // Writes the cached document back. On failure it is forgotten, since
    // it may have been edited and no longer matches the file.
    bool Store(const std::string& path, const std::string& hostPath, CachedFile& cached);
    // The document of a file that is only read, or null.
    const ProfileDocument* Read(const std::string& file);

    SimFileSystem& files_;
    std::string windowsDirectory_;
    std::unordered_map<std::string, CachedFile> cache_;  // by host path
};

}  // namespace kav::platform::sim
