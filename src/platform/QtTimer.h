#pragma once

#include "platform/Timer.h"

#include <QTimer>

#include <functional>

namespace kelvor {

// A window timer: switched on and off through Enabled, ticking at its interval while on.
// Switching it on while it runs does not restart the interval.
class QtTimer final : public Timer {
public:
    QtTimer(int intervalMs, std::function<void()> onTick);
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    QTimer timer_;
};

} // namespace kelvor
