#pragma once

#include <chrono>

namespace kelvor {

// Time source of the player. The simulator uses the steady clock; tests drive a fake one so
// pacing can be checked without waiting.
class PlayClock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    using duration = std::chrono::steady_clock::duration;

    virtual ~PlayClock() = default;
    virtual time_point now() const = 0;
    // Returns once now() >= when (at once when that time has passed).
    virtual void sleepUntil(time_point when) = 0;
};

class SteadyPlayClock final : public PlayClock {
public:
    time_point now() const override;
    void sleepUntil(time_point when) override;
};

// Seconds as a clock duration, rounded to the clock's tick.
PlayClock::duration secondsToDuration(double seconds);

} // namespace kelvor
