#pragma once

#include "export/SpreadsheetCharts.h"
#include "host/app/state/ApplicationState.h"

namespace kelvor {

// The chart sheets of a workbook.
class BuiltinCharts : public xl::Charts {
public:
    BuiltinCharts(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book);

    std::int32_t Count() override;
    // A chart sheet "Chart<n>" behind `after` (in front of the active sheet without one),
    // made the active sheet. Its one series comes from the selection of the sheet that was
    // active, when that is a worksheet whose selection holds a number.
    std::shared_ptr<xl::Chart> Add(const xl::SheetPtr& after) override;

private:
    std::shared_ptr<ApplicationState> app_;
    std::shared_ptr<BookState> book_;
};

// The chart of a chart sheet. Every member fails once the sheet is gone.
class BuiltinChart : public xl::Chart {
public:
    explicit BuiltinChart(SheetRef sheet);

    void Activate() override;
    void Move(const xl::SheetPtr& after) override;
    std::string Name() override;
    void setName(const std::string& name) override;
    // The scatter kinds only; each is drawn as the package's scatter chart.
    void setChartType(std::int32_t type) override;
    // Replaces every series with those of the source block (see seriesFromSource).
    void SetSourceData(const xl::RangePtr& source, std::int32_t plotBy) override;
    void setHasTitle(bool has) override;
    std::shared_ptr<xl::ChartTextElement> ChartTitle() override;
    // 1004 for the secondary axes while no series is plotted on them.
    std::shared_ptr<xl::Axis> Axes(std::int32_t type, std::int32_t group) override;
    void setHasLegend(bool has) override;
    std::shared_ptr<xl::ChartElement> PlotArea() override;
    std::shared_ptr<xl::SeriesCollection> SeriesCollection() override;
    std::shared_ptr<xl::Shapes> Shapes() override;
    std::shared_ptr<xl::PageSetup> PageSetup() override;
    void Deselect() override;

private:
    SheetRef sheet_;
};

} // namespace kelvor
