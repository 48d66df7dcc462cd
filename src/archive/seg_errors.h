#pragma once
#include <string>

#include "platform/exception.h"

namespace kav::archive {

// Every failure of the segment reader itself; messages begin
// "(TSegCompress) ".
class ESegError : public kav::Exception {
public:
    explicit ESegError(const std::string& problem) : kav::Exception("(TSegCompress) " + problem) {}
};

inline constexpr char kSegAborted[] = "Operation aborted by user";
inline constexpr char kSegStreamOpenFailed[] = "Stream open failed";
inline constexpr char kSegStreamReadFailed[] = "Stream read failed";
inline constexpr char kSegInvalidIdHeader[] = "Invalid Segment ID Header";
inline constexpr char kSegInvalidSetHeader[] = "Invalid Segment Header ID";
inline constexpr char kSegInvalidScanHeader[] = "Invalid Scan ID Header";
inline constexpr char kSegInvalidArchiveHeader[] = "Invalid Archive ID Header";
inline constexpr char kSegInvalidSequence[] = "Invalid Archive sequence number";

}  // namespace kav::archive
