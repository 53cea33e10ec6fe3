#pragma once

namespace kelvor {

// A switchable timer. The window provides real ones; tests drive ticks by hand.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

} // namespace kelvor
