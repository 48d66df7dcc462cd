#include "archive/seg_records.h"

namespace kav::archive {

std::string SegmentFileName(const std::string& baseName, const std::string& fixedExtension,
                            std::uint16_t number) {
    if (!fixedExtension.empty()) return baseName + "." + fixedExtension;
    std::string digits = std::to_string(number);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return baseName + "." + digits;
}

}  // namespace kav::archive
