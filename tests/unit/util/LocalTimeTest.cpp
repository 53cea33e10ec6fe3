#include "util/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kelvor {
namespace {

std::string fields(std::chrono::local_seconds when) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date(day);
    const hh_mm_ss time(when - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

// The local date-time shows what the log and the file names show for the same moment, in
// winter and summer time, across a day's end and a leap day.
TEST(LocalTimeTest, LocalDateTimeAgreesWithTheLocalTimeText) {
    using namespace std::chrono;
    for (const sys_seconds moment : std::initializer_list<sys_seconds>{
             sys_days(year(2024) / January / 15) + hours(9) + minutes(5) + seconds(7),
             sys_days(year(2024) / July / 1) + hours(23) + minutes(59) + seconds(59),
             sys_days(year(2024) / February / 29) + hours(0) + minutes(30),
             sys_days(year(2023) / December / 31) + hours(12)}) {
        const WallClock::time_point when(moment);
        EXPECT_EQ(fields(localDateTime(when)), localTimeText(when, "%Y-%m-%d %H:%M:%S"));
    }
}

} // namespace
} // namespace kelvor
