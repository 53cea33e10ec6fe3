#pragma once

#include "export/SpreadsheetCharts.h"
#include "host/app/state/ApplicationState.h"

#include <optional>
#include <utility>

namespace kelvor {

// A part of a chart that can be selected: plot area, gridlines, text box.
class BuiltinChartElement : public xl::ChartElement {
public:
    BuiltinChartElement(SheetRef sheet, ChartElementRef element);
    // The chart sheet must be the active sheet.
    void Select() override;

private:
    SheetRef sheet_;
    ChartElementRef element_;
};

using AxisKey = std::pair<AxisType, AxisGroup>;

// The chart's title, or an axis title when `axis` is given. 1004 once the title is switched
// off or its axis is gone.
class BuiltinChartTitle : public xl::ChartTextElement {
public:
    BuiltinChartTitle(SheetRef sheet, std::optional<AxisKey> axis);
    std::shared_ptr<xl::Characters> Characters() override;
    std::shared_ptr<xl::TextFont> Font() override;
    void setCaption(const std::string& text) override;

private:
    SheetRef sheet_;
    std::optional<AxisKey> axis_;
};

class BuiltinAxis : public xl::Axis {
public:
    BuiltinAxis(SheetRef sheet, AxisType type, AxisGroup group);
    void setHasTitle(bool has) override;
    std::shared_ptr<xl::ChartTextElement> AxisTitle() override;
    void setHasMajorGridlines(bool has) override;
    void setHasMinorGridlines(bool has) override;
    std::shared_ptr<xl::ChartElement> MajorGridlines() override;

private:
    // Changes the axis, which must still exist.
    void edit(const std::function<void(ChartAxis&)>& change);
    const ChartAxis& axis() const;

    SheetRef sheet_;
    AxisType type_;
    AxisGroup group_;
};

class BuiltinSeries : public xl::Series {
public:
    BuiltinSeries(SheetRef sheet, std::uint32_t id);
    void Select() override;
    void Delete() override;
    void setAxisGroup(std::int16_t group) override;
    void setName(const std::string& name) override;
    // Refers to the range's cells; their values reach the chart when the file is written.
    void setValues(const xl::RangePtr& values) override;
    void setXValues(const xl::RangePtr& xValues) override;
    std::shared_ptr<xl::Border> Border() override;

private:
    void edit(const std::function<void(ChartSeries&)>& change);

    SheetRef sheet_;
    std::uint32_t id_;
};

class BuiltinSeriesCollection : public xl::SeriesCollection {
public:
    explicit BuiltinSeriesCollection(SheetRef sheet);
    std::int32_t Count() override;
    std::shared_ptr<xl::Series> Item(std::int32_t index) override;
    // An empty series at the end.
    std::shared_ptr<xl::Series> NewSeries() override;

private:
    SheetRef sheet_;
};

class BuiltinShapes : public xl::Shapes {
public:
    explicit BuiltinShapes(SheetRef sheet);
    std::shared_ptr<xl::ChartElement> AddTextbox(std::int32_t orientation, double left, double top,
                                                 double width, double height) override;
    std::shared_ptr<xl::ChartElement> Item(std::int32_t index) override;

private:
    SheetRef sheet_;
};

} // namespace kelvor
