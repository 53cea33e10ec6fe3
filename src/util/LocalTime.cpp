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

} // namespace kelvor
