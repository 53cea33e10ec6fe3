#pragma once

#include <chrono>
#include <string>

namespace kelvor {

using WallClock = std::chrono::system_clock;

// The local date and time of `when` in strftime's `format`, e.g. "%Y-%m-%d %H-%M-%S".
std::string localTimeText(WallClock::time_point when, const char* format);

// The local date and time of `when`, to the second, as the lab's clocks show it.
std::chrono::local_seconds localDateTime(WallClock::time_point when);

} // namespace kelvor
