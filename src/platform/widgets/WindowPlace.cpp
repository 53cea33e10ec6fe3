#include "platform/widgets/WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace kelvor {
namespace {

// So much of the title bar must show to be taken and dragged.
constexpr int GrabbableWidth = 40;

int clampInto(int position, int length, int areaStart, int areaLength) {
    const int last = areaStart + areaLength - length;
    return last < areaStart ? areaStart : std::clamp(position, areaStart, last);
}

} // namespace

QPoint placeOnScreen(const QRect& frame, int titleBarHeight, const QList<QRect>& screens,
                     const QRect& primary) {
    const QRect titleBar(frame.left(), frame.top(), frame.width(), std::max(titleBarHeight, 1));
    const int grabbable = std::min(frame.width(), GrabbableWidth);
    for (const QRect& screen : screens) {
        const QRect shown = titleBar.intersected(screen);
        if (shown.height() == titleBar.height() && shown.width() >= grabbable) {
            return frame.topLeft();
        }
    }
    return {clampInto(frame.left(), frame.width(), primary.left(), primary.width()),
            clampInto(frame.top(), frame.height(), primary.top(), primary.height())};
}

QPoint placeOnScreen(const QWidget& window, QPoint wanted, QSize frameSize) {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.push_back(screen->availableGeometry());
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary == nullptr) {
        return wanted;
    }
    // Before the window manager has framed the window, its title bar is as high as the
    // style draws one.
    const int titleBar =
        std::max(window.geometry().top() - window.frameGeometry().top(),
                 window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
    return placeOnScreen(QRect(wanted, frameSize), titleBar, areas, primary->availableGeometry());
}

} // namespace kelvor
