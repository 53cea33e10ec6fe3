#pragma once

#include "ByteSink.h"
#include "PlayClock.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace kelvor::test {

// A clock that only moves when the player sleeps. `overshoot` makes every sleep wake late,
// the way a busy machine does.
class FakeClock : public PlayClock {
public:
    time_point now() const override { return now_; }
    void sleepUntil(time_point when) override { now_ = std::max(now_, when) + overshoot; }
    void advance(duration by) { now_ += by; }
    double secondsSinceStart() const {
        return std::chrono::duration<double>(now_ - time_point{}).count();
    }

    duration overshoot{};

private:
    time_point now_{};
};

// Records what was written and when. `room` limits how many bytes the line takes before it
// is full; waiting drains `drainPerWait` bytes and costs `waitCost` of fake time, or the whole
// timeout when nothing drains.
class RecordingSink : public ByteSink {
public:
    struct Write {
        double at; // seconds on the fake clock
        std::string bytes;
    };

    explicit RecordingSink(FakeClock& clock) : clock_(clock) {}

    std::size_t writeSome(std::string_view bytes) override {
        const std::size_t taken = std::min(bytes.size(), room);
        if (taken > 0) {
            writes.push_back({clock_.secondsSinceStart(), std::string(bytes.substr(0, taken))});
            received.append(bytes.substr(0, taken));
            room -= taken;
        }
        return taken;
    }

    bool waitWritable(std::chrono::milliseconds timeout) override {
        ++waits;
        if (drainPerWait == 0) {
            clock_.advance(timeout);
            return false;
        }
        clock_.advance(waitCost);
        room += drainPerWait;
        return true;
    }

    std::size_t room = static_cast<std::size_t>(-1);
    std::size_t drainPerWait = 0;
    PlayClock::duration waitCost = std::chrono::milliseconds(100);
    int waits = 0;
    std::vector<Write> writes;
    std::string received;

private:
    FakeClock& clock_;
};

} // namespace kelvor::test
