#include "printing/ChartPage.h"

#include "workbookview/ChartView.h"

#include <QCoreApplication>
#include <QPainter>

#include <cmath>

namespace kelvor {

void paintChart(QPainter& painter, const Chart& chart, const QRectF& target) {
    ChartView view(chart);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As many of the view's pixels as its fonts take for the target's points: the chart's texts
    // come out at their point sizes.
    const double pixelsPerPoint = view.logicalDpiX() / 72.0;
    const QSize size(static_cast<int>(std::lround(target.width() * pixelsPerPoint)),
                     static_cast<int>(std::lround(target.height() * pixelsPerPoint)));
    // Laid out as if shown, without appearing on the screen.
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(size);
    view.show();
    QCoreApplication::sendPostedEvents();
    view.render(&painter, target, QRect(QPoint(0, 0), size));
}

} // namespace kelvor
