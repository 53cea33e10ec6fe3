#include "platform/QtTimer.h"

namespace kelvor {

QtTimer::QtTimer(int intervalMs, std::function<void()> onTick) {
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

void QtTimer::setEnabled(bool enabled) {
    if (!enabled) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

bool QtTimer::isEnabled() const {
    return timer_.isActive();
}

} // namespace kelvor
