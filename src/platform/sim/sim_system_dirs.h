#pragma once
// The simulated machine's Windows directory, short names and shell folders.
#include <map>
#include <string>

#include "platform/sim/host_drives.h"
#include "platform/sim/sim_file_system.h"
#include "platform/system_dirs.h"

namespace kav::platform::sim {

// Which Windows the machine plays: where its shell keeps its folders and
// whether the user has administrator rights.
struct ShellProfile {
    // The folders as the system holds them, in UTF-8 (host_names.h): a
    // folder may have a name without a code page 1252 form.
    std::map<ShellFolder, std::string> folders;
    bool administrator = true;

    // A current Windows: the Start menu and desktop in the profile folder
    // of the user `userName` (UTF-8) and in ProgramData, an administrator
    // installing.
    static ShellProfile CurrentWindows(const std::string& userName = "user");
    // Windows 95 without user profiles: every folder below the Windows
    // directory, the shared ones the same as the user's.
    static ShellProfile Windows95();
};

class SimSystemDirectories final : public SystemDirectories {
public:
    static constexpr const char* kWindowsDirectory = "C:\\WINDOWS";

    SimSystemDirectories(const HostDrives& drives, SimFileSystem& files)
        : drives_(drives), files_(files), profile_(ShellProfile::CurrentWindows()) {}

    std::string WindowsDirectory() override { return kWindowsDirectory; }
    // Relative names are answered with the short form of their full path.
    std::string ShortPathName(const std::string& path) override;
    std::string ShellFolderPath(ShellFolder folder) override;
    bool IsAdministrator() override { return profile_.administrator; }

    const ShellProfile& Profile() const { return profile_; }
    void SetProfile(ShellProfile profile) { profile_ = std::move(profile); }

private:
    const HostDrives& drives_;
    SimFileSystem& files_;
    ShellProfile profile_;
};

}  // namespace kav::platform::sim
