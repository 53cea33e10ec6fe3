#include "PlayClock.h"

#include <thread>

namespace kelvor {

PlayClock::time_point SteadyPlayClock::now() const {
    return std::chrono::steady_clock::now();
}

void SteadyPlayClock::sleepUntil(time_point when) {
    // sleep_until resumes after signal interruptions on its own.
    std::this_thread::sleep_until(when);
}

PlayClock::duration secondsToDuration(double seconds) {
    return std::chrono::round<PlayClock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace kelvor
