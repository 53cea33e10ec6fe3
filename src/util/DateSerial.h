#pragma once

#include <cstdint>
#include <optional>

namespace kelvor {

// Dates as the spreadsheet counts them (1900 date system): serial 1 is 1900-01-01, and 60
// stands for 1900-02-29, a day that never was, kept for compatibility with the programs that
// first counted so. Serial 0 shows as 1900-01-00. The last day is 9999-12-31.
struct CivilDate {
    int year;
    int month;
    int day;
    bool operator==(const CivilDate&) const = default;
};

inline constexpr std::int64_t kLastDateSerial = 2958465;

// Nothing for a day that does not exist or lies outside 1900-01-01 .. 9999-12-31
// (1900-02-29 exists here).
std::optional<std::int64_t> dateSerial(int year, int month, int day);

// Nothing for a serial below 0 or past the last day.
std::optional<CivilDate> civilDate(std::int64_t serial);

// 0 Sunday .. 6 Saturday, as the spreadsheet reckons (1900-01-01 was a Sunday for it).
int weekday(std::int64_t serial);

} // namespace kelvor
