#pragma once

#include "host/model/Chart.h"

#include <QRectF>

class QPainter;

namespace kelvor {

// Draws a chart into `target` (in the painter's units, points) with the workbook window's own
// chart drawing, so that paper shows what the screen shows: titles and labels at their point
// sizes, the text boxes where they stand on the chart sheet, scaled to the target.
void paintChart(QPainter& painter, const Chart& chart, const QRectF& target);

} // namespace kelvor
