#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace kelvor {

// Where a window opens whose frame would stand at `frame`: there, when its title bar lies on
// one of `screens` (their available areas) far enough to be grabbed; otherwise the nearest
// place that keeps the whole frame on `primary`, the primary screen's available area.
QPoint placeOnScreen(const QRect& frame, int titleBarHeight, const QList<QRect>& screens,
                     const QRect& primary);

// The same for a window of the desktop, with its screens, the size of its frame and the place
// its frame's top-left corner is wanted at.
QPoint placeOnScreen(const QWidget& window, QPoint wanted, QSize frameSize);

} // namespace kelvor
