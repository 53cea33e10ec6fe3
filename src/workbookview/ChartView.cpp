#include "workbookview/ChartView.h"

#include "host/app/numformat/FormatCode.h"
#include "host/model/Palette.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QTextDocument>
#include <QTextOption>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kelvor {

namespace {

constexpr double DefaultTitlePoints = 12;
constexpr double DefaultAxisTitlePoints = 10;
// Series without a colour of their own take turns through the palette's chart line colours,
// as the written file has them.
constexpr int FirstAutomaticLineColour = 25;

QColor rgbColour(std::string_view hex) {
    return QColor(QString::fromLatin1("#") +
                  QString::fromLatin1(hex.data(), qsizetype(hex.size())));
}

std::optional<QColor> paletteColour(int colorIndex) {
    const auto hex = paletteColor(colorIndex);
    return hex ? std::optional(rgbColour(*hex)) : std::nullopt;
}

// A shape colour: its own RGB (red in the low byte) or a scheme colour.
QColor shapeColour(std::int32_t rgb, int scheme) {
    if (rgb >= 0) {
        return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    }
    return rgbColour(schemeColor(scheme));
}

qreal penWidth(int weight) {
    switch (weight) {
    case xl::xlHairline:
        return 0.5;
    case -4138: // medium
        return 2;
    case 4: // thick
        return 3;
    default:
        return 1;
    }
}

Qt::PenStyle penStyle(int lineStyle) {
    switch (lineStyle) {
    case xl::xlDot:
        return Qt::DotLine;
    case -4115:
        return Qt::DashLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

QFont chartFont(const ChartText& text, double defaultPoints, bool defaultBold) {
    QFont font(text.fontName.empty() ? QString("Arial") : QString::fromStdString(text.fontName));
    font.setPointSizeF(text.fontSize > 0 ? text.fontSize : defaultPoints);
    font.setBold(text.bold || defaultBold);
    return font;
}

bool isDateFormat(const std::string& format) {
    const auto sections = formatSections(format);
    if (sections.empty()) {
        return false;
    }
    const auto tokens = tokenizeFormat(sections.front());
    return std::any_of(tokens.begin(), tokens.end(), isDateCode);
}

// A date serial as the moment on the local clock it names: the axis shows local times.
qreal dateAxisValue(double serial) {
    const auto days = static_cast<qint64>(std::floor(serial));
    const auto msecs = static_cast<int>(std::lround((serial - std::floor(serial)) * 86'400'000.0));
    const QDateTime moment(QDate(1899, 12, 30).addDays(days), QTime(0, 0));
    return static_cast<qreal>(moment.addMSecs(msecs).toMSecsSinceEpoch());
}

// The axis format the X values' number format comes closest to.
QString dateAxisFormat(const std::string& format) {
    const bool hasTime = format.find('h') != std::string::npos;
    const bool hasDate =
        format.find('d') != std::string::npos || format.find('y') != std::string::npos;
    if (hasTime && hasDate) {
        return "M/d/yy h:mm";
    }
    return hasTime ? "h:mm" : "M/d/yy";
}

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    bool empty() const { return low > high; }
};

// Like the spreadsheet's automatic scale: value axes of positive data start at zero unless the
// data sit high above it.
void scaleValueAxis(QValueAxis& axis, Range range, bool fromZero) {
    if (range.empty()) {
        range = {0, 1};
    }
    if (fromZero && range.low > 0 && range.low < range.high * 5 / 6) {
        range.low = 0;
    }
    if (range.low == range.high) {
        range.low -= 1;
        range.high += 1;
    }
    // Steps of 1, 2 or 5 times a power of ten, about eight of them, as the spreadsheet picks.
    const double rough = (range.high - range.low) / 8;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {2.0, 5.0, 10.0}) {
        const double ticks = (range.high - range.low) / (factor * power);
        if (std::fabs(ticks - 8) < std::fabs((range.high - range.low) / step - 8)) {
            step = factor * power;
        }
    }
    const double low = std::floor(range.low / step) * step;
    const double high = std::ceil(range.high / step) * step;
    axis.setRange(low, high);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setLabelFormat("%g"); // the General display of the numbers
}

void styleAxis(QAbstractAxis& axis, const ChartAxis& model) {
    if (model.hasTitle) {
        axis.setTitleText(QString::fromStdString(model.title.text));
        axis.setTitleFont(chartFont(model.title, DefaultAxisTitlePoints, true));
    }
    axis.setGridLineVisible(model.hasMajorGridlines);
    if (model.hasMajorGridlines) {
        QPen pen(paletteColour(model.majorGridlines.colorIndex).value_or(QColor(0x86, 0x86, 0x86)));
        pen.setWidthF(penWidth(model.majorGridlines.weight));
        pen.setStyle(penStyle(model.majorGridlines.lineStyle));
        axis.setGridLinePen(pen);
    }
    axis.setMinorGridLineVisible(model.hasMinorGridlines);
    QFont labels("Arial");
    labels.setPointSizeF(9);
    axis.setLabelsFont(labels);
}

// One series as a line, its finite points counted into the ranges of its axes.
QLineSeries* makeLine(QChart& drawn, const ChartSeries& model, std::size_t index, bool dates,
                      Range& xRange, Range& yRange) {
    auto* line = new QLineSeries(&drawn);
    line->setName(QString::fromStdString(model.name));
    const std::size_t count = std::min(model.xValues.size(), model.values.size());
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t p = 0; p < count; ++p) {
        const double x = model.xValues[p];
        const double y = model.values[p];
        if (!std::isfinite(x) || !std::isfinite(y)) {
            continue;
        }
        xRange.add(x);
        yRange.add(y);
        points.append(QPointF(dates ? dateAxisValue(x) : x, y));
    }
    line->replace(points);
    const auto automatic = paletteColour(FirstAutomaticLineColour + static_cast<int>(index % 8))
                               .value_or(Qt::darkBlue);
    QPen pen(paletteColour(model.border.colorIndex).value_or(automatic));
    pen.setWidthF(model.border.weight == xl::xlAutomatic ? 1.5
                                                         : penWidth(model.border.weight) + 0.5);
    pen.setStyle(model.border.lineStyle == xl::xlNone ? Qt::NoPen
                                                      : penStyle(model.border.lineStyle));
    line->setPen(pen);
    return line;
}

// Whole days from midnight to midnight when the test spans days, as the spreadsheet scales a
// date axis.
void scaleDateAxis(QDateTimeAxis& axis, Range range) {
    if (range.empty()) {
        return;
    }
    int ticks = 6;
    const double days = std::ceil(range.high) - std::floor(range.low);
    if (range.high - range.low >= 1 && days <= 12) {
        range = {std::floor(range.low), std::ceil(range.high)};
        ticks = static_cast<int>(days) + 1;
    }
    axis.setRange(QDateTime::fromMSecsSinceEpoch(qint64(dateAxisValue(range.low))),
                  QDateTime::fromMSecsSinceEpoch(qint64(dateAxisValue(range.high))));
    axis.setTickCount(ticks);
}

void framePlotArea(QChart& drawn, const Border& border) {
    if (border.lineStyle == xl::xlNone) {
        return;
    }
    QPen frame(paletteColour(border.colorIndex).value_or(QColor(0x80, 0x80, 0x80)));
    frame.setWidthF(penWidth(border.weight));
    drawn.setPlotAreaBackgroundPen(frame);
    drawn.setPlotAreaBackgroundVisible(true);
}

} // namespace

// Made with its chart: a view made without one makes a default chart of its own, which a later
// setChart() lets go of without deleting.
ChartView::ChartView(const Chart& chart, QWidget* parent) : QChartView(new QChart(), parent) {
    setRenderHint(QPainter::Antialiasing);
    QChart* drawn = this->chart(); // the view owns it
    drawn->setBackgroundRoundness(0);
    drawn->setMargins(QMargins(6, 6, 6, 6));
    if (chart.hasTitle) {
        drawn->setTitle(QString::fromStdString(chart.title.text));
        drawn->setTitleFont(chartFont(chart.title, DefaultTitlePoints, true));
    }
    drawn->legend()->setVisible(chart.hasLegend);
    drawn->legend()->setAlignment(Qt::AlignRight);
    if (const auto interior = paletteColour(chart.plotAreaInteriorColorIndex)) {
        drawn->setPlotAreaBackgroundBrush(*interior);
        drawn->setPlotAreaBackgroundVisible(true);
    }
    addSeries(chart);
    for (const auto& box : chart.textBoxes) {
        auto* frame = new QGraphicsRectItem();
        frame->setPen(box.lineVisible ? QPen(shapeColour(box.lineRgb, box.lineSchemeColor),
                                             std::max(0.5, box.lineWeight))
                                      : QPen(Qt::NoPen));
        frame->setBrush(box.fillVisible ? QBrush(shapeColour(box.fillRgb, box.fillSchemeColor))
                                        : QBrush(Qt::NoBrush));
        frame->setZValue(10);
        scene()->addItem(frame);
        auto* text = new QGraphicsTextItem(QString::fromStdString(box.text), frame);
        QTextOption option = text->document()->defaultTextOption();
        option.setAlignment(box.horizontalAlignment == xl::xlCenter  ? Qt::AlignHCenter
                            : box.horizontalAlignment == xl::xlRight ? Qt::AlignRight
                                                                     : Qt::AlignLeft);
        text->document()->setDefaultTextOption(option);
        text->document()->setDocumentMargin(2);
        boxes_.push_back({box, frame, text});
    }
    placeTextBoxes();
}

void ChartView::addSeries(const Chart& chart) {
    QChart& drawn = *this->chart();
    const bool secondary = std::any_of(chart.series.begin(), chart.series.end(),
                                       [](const auto& series) { return series.axisGroup == 2; });
    // The X axis shows its values as the first series has them (dates as dates).
    const bool dates = !chart.series.empty() && isDateFormat(chart.series.front().xFormat);
    QAbstractAxis* xAxis = nullptr;
    if (dates) {
        auto* axis = new QDateTimeAxis();
        axis->setFormat(dateAxisFormat(chart.series.front().xFormat));
        xAxis = axis;
    } else {
        xAxis = new QValueAxis();
    }
    auto* yAxis = new QValueAxis();
    QValueAxis* y2Axis = secondary ? new QValueAxis() : nullptr;
    drawn.addAxis(xAxis, Qt::AlignBottom);
    drawn.addAxis(yAxis, Qt::AlignLeft);
    if (y2Axis != nullptr) {
        drawn.addAxis(y2Axis, Qt::AlignRight);
    }

    // Points first, then the axes' ranges, then the series onto the chart: a series attached
    // to an axis whose range still changes makes every series before it be laid out again.
    Range xRange;
    Range yRange[2];
    std::vector<std::pair<QLineSeries*, int>> lines;
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const int group = chart.series[i].axisGroup == 2 && secondary ? 1 : 0;
        lines.emplace_back(makeLine(drawn, chart.series[i], i, dates, xRange, yRange[group]),
                           group);
    }
    if (dates) {
        scaleDateAxis(*static_cast<QDateTimeAxis*>(xAxis), xRange);
    } else {
        scaleValueAxis(*static_cast<QValueAxis*>(xAxis), xRange, true);
    }
    scaleValueAxis(*yAxis, yRange[0], true);
    styleAxis(*xAxis, chart.axis(AxisType::Category, AxisGroup::Primary));
    styleAxis(*yAxis, chart.axis(AxisType::Value, AxisGroup::Primary));
    if (y2Axis != nullptr) {
        scaleValueAxis(*y2Axis, yRange[1], true);
        styleAxis(*y2Axis, chart.axis(AxisType::Value, AxisGroup::Secondary));
        y2Axis->setGridLineVisible(false); // one set of gridlines, the primary axis's
    }
    for (const auto& [line, group] : lines) {
        drawn.addSeries(line);
        line->attachAxis(xAxis);
        line->attachAxis(group == 1 ? y2Axis : yAxis);
    }
    framePlotArea(drawn, chart.plotAreaBorder);
}

QStringList ChartView::textBoxTexts() const {
    QStringList texts;
    for (const auto& placed : boxes_) {
        texts.append(placed.text->toPlainText());
    }
    return texts;
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    placeTextBoxes();
}

void ChartView::placeTextBoxes() {
    // Text box places are points on the chart sheet's page; the chart fills the view.
    const qreal sx = width() / kChartSheetWidth;
    const qreal sy = height() / kChartSheetHeight;
    for (auto& placed : boxes_) {
        const TextBox& box = placed.box;
        placed.frame->setRect(0, 0, box.width * sx, box.height * sy);
        placed.frame->setPos(box.left * sx, box.top * sy);
        QFont font(QString::fromStdString(box.fontName));
        font.setPixelSize(
            std::max(6, static_cast<int>(std::lround(box.fontSize * std::min(sx, sy)))));
        font.setBold(box.bold);
        placed.text->setFont(font);
        placed.text->setTextWidth(box.width * sx);
    }
}

} // namespace kelvor
