#include "app/kavpack/disk_count.h"

#include "archive/seg_records.h"
#include "base/profile_document.h"

namespace kav::app {

namespace {

constexpr const char* kMain = "Setup - Main";
constexpr const char* kInstallDisks = "Install Disks";

}  // namespace

std::string WithInstallDisks(const std::string& scriptText, std::size_t segments) {
    const std::string count = std::to_string(segments);
    base::ProfileDocument script(scriptText);
    if (script.Read(kMain, kInstallDisks) == count) return scriptText;
    script.Write(kMain, kInstallDisks, count);
    return script.Text();
}

std::size_t CountSegmentFiles(const std::filesystem::path& set) {
    std::size_t count = 0;
    std::error_code error;
    while (std::filesystem::is_regular_file(set / archive::SegmentFileName("disk", "", count + 1),
                                            error)) {
        ++count;
    }
    return count;
}

}  // namespace kav::app
