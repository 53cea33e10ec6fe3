#pragma once

#include "host/model/Chart.h"

#include <QChartView>
#include <QStringList>

#include <vector>

class QGraphicsRectItem;
class QGraphicsTextItem;

namespace kelvor {

// A chart sheet drawn from the workbook's chart model: scatter lines in their colours on the
// primary and secondary value axes, a date-time X axis when the X values are dates, titles,
// axis titles, gridlines, the legend when the chart has one, and the text boxes at their
// places, scaled with the window. The view keeps what it needs: the model may change after.
class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(const Chart& chart, QWidget* parent = nullptr);

    QStringList textBoxTexts() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PlacedBox {
        TextBox box;
        QGraphicsRectItem* frame;
        QGraphicsTextItem* text;
    };

    void addSeries(const Chart& chart);
    void placeTextBoxes();

    std::vector<PlacedBox> boxes_;
};

} // namespace kelvor
