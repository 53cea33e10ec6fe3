#pragma once

#include <chrono>
#include <string>

namespace kelvor {

using WallClock = std::chrono::system_clock;

// The local date and time of `when` in strftime's `format`, e.g. "%Y-%m-%d %H-%M-%S".
std::string localTimeText(WallClock::time_point when, const char* format);

} // namespace kelvor
