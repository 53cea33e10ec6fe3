#include "util/LocalTime.h"

#include <ctime>

namespace kelvor {

std::string localTimeText(WallClock::time_point when, const char* format) {
    const std::time_t seconds = WallClock::to_time_t(when);
    // One thread does everything, so the shared result of localtime is safe here.
    const std::tm* local = std::localtime(&seconds);
    if (local == nullptr) {
        return "unknown time";
    }
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, format, local);
    return {text, length};
}

std::chrono::local_seconds localDateTime(WallClock::time_point when) {
    using namespace std::chrono;
    const std::time_t seconds = WallClock::to_time_t(when);
    const std::tm* local = std::localtime(&seconds);
    if (local == nullptr) {
        // Out of the system's range: the time as it is, rather than none.
        return local_seconds(floor<std::chrono::seconds>(when.time_since_epoch()));
    }
    const year_month_day date(year(local->tm_year + 1900), month(local->tm_mon + 1),
                              day(local->tm_mday));
    return local_days(date) + hours(local->tm_hour) + minutes(local->tm_min) +
           std::chrono::seconds(local->tm_sec);
}

} // namespace kelvor
