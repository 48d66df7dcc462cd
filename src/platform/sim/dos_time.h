#pragma once
// DOS date-times (date in the high 16 bits, time in the low 16, local time,
// two-second steps) converted to and from host time.
#include <cstdint>
#include <ctime>
#include <optional>

namespace kav::platform::sim {

// The host time of a DOS date-time, or nothing when a field is out of range
// (month 0 or above 12, day 0 or past the month's end, hour above 23, minute
// above 59, seconds above 59).
std::optional<std::time_t> DosDateTimeToTime(std::uint32_t dosDateTime);
// The DOS date-time of a host time; times before 1980 give 1980-01-01 00:00
// and times after 2107 give the last representable date-time.
std::uint32_t TimeToDosDateTime(std::time_t time);

}  // namespace kav::platform::sim
