#pragma once

#include "util/LocalTime.h"

#include <ctime>

namespace kelvor::test {

// A moment given in local time, so names made from it come out the same in every time zone.
inline WallClock::time_point localMoment(int year, int month, int day, int hour, int minute,
                                         int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return WallClock::from_time_t(std::mktime(&local));
}

} // namespace kelvor::test
