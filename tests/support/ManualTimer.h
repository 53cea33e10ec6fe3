#pragma once

#include "platform/Timer.h"

namespace kelvor {

// A timer that never fires by itself: tests call the tick handler when they want a tick
// and look here for whether the logic asked for one.
class ManualTimer : public Timer {
public:
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        if (enabled) {
            ++enableRequests;
        }
    }
    bool isEnabled() const override { return enabled_; }

    int enableRequests = 0; // every setEnabled(true), also while already enabled

private:
    bool enabled_ = false;
};

} // namespace kelvor
