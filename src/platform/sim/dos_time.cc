#include "platform/sim/dos_time.h"

namespace kav::platform::sim {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::time_t> DosDateTimeToTime(std::uint32_t dosDateTime) {
    const int year = 1980 + static_cast<int>((dosDateTime >> 25) & 0x7F);
    const int month = static_cast<int>((dosDateTime >> 21) & 0x0F);
    const int day = static_cast<int>((dosDateTime >> 16) & 0x1F);
    const int hour = static_cast<int>((dosDateTime >> 11) & 0x1F);
    const int minute = static_cast<int>((dosDateTime >> 5) & 0x3F);
    const int second = static_cast<int>(dosDateTime & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const std::time_t time = std::mktime(&fields);
    if (time == static_cast<std::time_t>(-1)) return std::nullopt;
    return time;
}

std::uint32_t TimeToDosDateTime(std::time_t time) {
    std::tm fields{};
    if (localtime_r(&time, &fields) == nullptr || fields.tm_year < 80) {
        return (1u << 21) | (1u << 16);  // 1980-01-01 00:00:00
    }
    if (fields.tm_year > 207) return 0xFF9FBF7Du;  // 2107-12-31 23:59:58
    const auto date = static_cast<std::uint32_t>(((fields.tm_year - 80) << 9) |
                                                 ((fields.tm_mon + 1) << 5) | fields.tm_mday);
    const auto clock = static_cast<std::uint32_t>((fields.tm_hour << 11) | (fields.tm_min << 5) |
                                                  (fields.tm_sec / 2));
    return (date << 16) | clock;
}

}  // namespace kav::platform::sim
