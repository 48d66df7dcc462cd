#pragma once
// The simulated machine's Windows directory and short names.
#include <string>

#include "platform/sim/host_drives.h"
#include "platform/sim/sim_file_system.h"
#include "platform/system_dirs.h"

namespace kav::platform::sim {

class SimSystemDirectories final : public SystemDirectories {
public:
    static constexpr const char* kWindowsDirectory = "C:\\WINDOWS";

    SimSystemDirectories(const HostDrives& drives, SimFileSystem& files)
        : drives_(drives), files_(files) {}

    std::string WindowsDirectory() override { return kWindowsDirectory; }
    // Relative names are answered with the short form of their full path.
    std::string ShortPathName(const std::string& path) override;

private:
    const HostDrives& drives_;
    SimFileSystem& files_;
};

}  // namespace kav::platform::sim
