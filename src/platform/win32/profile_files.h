#pragma once
#include "platform/profile.h"

namespace kav::platform {

// Profile files: the program's own (code page 1252) read and written as
// text, the system's through GetPrivateProfileStringW and its kin.
class Win32ProfileFiles final : public ProfileFiles {
public:
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    KeyValues ReadSectionValues(const std::string& file, const std::string& section) override;
    std::vector<std::string> ListKeys(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool RemoveSection(const std::string& file, const std::string& section) override;
    bool RemoveKey(const std::string& file, const std::string& section,
                   const std::string& key) override;
    void ForgetParsedFiles() override;

private:
    // The section's lines as GetPrivateProfileSectionA gives them.
    static std::vector<std::string> SectionLines(const std::string& file,
                                                 const std::string& section);
};

}  // namespace kav::platform
