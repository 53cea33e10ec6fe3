#include "host/app/automation/BuiltinChart.h"

#include "export/XlConstants.h"
#include "host/app/automation/BuiltinChartParts.h"
#include "host/app/automation/BuiltinPageSetup.h"
#include "host/app/automation/BuiltinRange.h"
#include "host/app/automation/BuiltinSheet.h"
#include "host/app/chartdata/ChartSource.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/errors/HostErrors.h"

namespace kelvor {

namespace {

using xl::xlRows;
using xl::xlXYScatter;
using xl::xlXYScatterLines;
using xl::xlXYScatterSmooth;
using xl::xlXYScatterSmoothNoMarkers;

// The sheet of this workbook that `after` stands for.
std::size_t positionOf(const xl::SheetPtr& after, const BookState& book, const char* failure) {
    const auto* sheet = dynamic_cast<const BuiltinSheet*>(after.get());
    if (sheet == nullptr || sheet->sheetRef().book.get() != &book) {
        throw methodError(failure);
    }
    return sheet->sheetRef().index();
}

std::string newChartName(BookState& book) {
    std::string name;
    do {
        name = "Chart" + std::to_string(++book.chartsMade);
    } while (book.model.indexOf(name));
    return name;
}

} // namespace

BuiltinCharts::BuiltinCharts(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book)
    : app_(std::move(app)), book_(std::move(book)) {}

std::int32_t BuiltinCharts::Count() {
    app_->checkOpen(*book_);
    std::int32_t count = 0;
    for (std::size_t i = 0; i < book_->model.sheetCount(); ++i) {
        count += book_->model.sheet(i).kind() == SheetKind::ChartSheet ? 1 : 0;
    }
    return count;
}

std::shared_ptr<xl::Chart> BuiltinCharts::Add(const xl::SheetPtr& after) {
    app_->checkOpen(*book_);
    auto& model = book_->model;
    const auto active = model.activeSheet();
    const auto position = after ? positionOf(after, *book_, "Add method of Charts class failed") + 1
                                : active.value_or(0);

    // The new chart plots what was selected on the sheet active until now.
    std::optional<ChartSeries> series;
    if (active) {
        const auto previous = sheetAt(app_, book_, *active);
        if (const auto* worksheet = asWorksheet(previous.sheet())) {
            app_->settle();
            series = defaultSeries(*worksheet, worksheet->selection().areas);
        }
    }
    auto& sheet = modelCall(
        [&]() -> ChartSheet& { return model.addChartSheet(newChartName(*book_), position); });
    if (series) {
        sheet.editChart([&](kelvor::Chart& chart) {
            series->id = ++chart.seriesMade;
            chart.series.push_back(std::move(*series));
        });
    }
    model.setActiveSheet(position);
    return std::make_shared<BuiltinChart>(sheetAt(app_, book_, position));
}

BuiltinChart::BuiltinChart(SheetRef sheet) : sheet_(std::move(sheet)) {}

void BuiltinChart::Activate() {
    chartSheetOf(sheet_);
    activateSheet(*sheet_.app, sheet_.book, sheet_.index());
}

void BuiltinChart::Move(const xl::SheetPtr& after) {
    chartSheetOf(sheet_);
    const auto from = sheet_.index();
    if (!after) {
        throw methodError("Move method of Chart class failed");
    }
    const auto behind = positionOf(after, *sheet_.book, "Move method of Chart class failed");
    if (behind == from) {
        return;
    }
    sheet_.book->model.moveSheet(from, from < behind ? behind : behind + 1);
}

std::string BuiltinChart::Name() {
    return chartSheetOf(sheet_).name();
}

void BuiltinChart::setName(const std::string& name) {
    chartSheetOf(sheet_);
    BuiltinSheet(sheet_).setName(name);
}

void BuiltinChart::setChartType(std::int32_t type) {
    if (type != xl::xlXYScatterLinesNoMarkers && type != xlXYScatterLines && type != xlXYScatter &&
        type != xlXYScatterSmooth && type != xlXYScatterSmoothNoMarkers) {
        chartSheetOf(sheet_);
        throw methodError("Unable to set the ChartType property of the Chart class");
    }
    editChart(sheet_, [&](kelvor::Chart& chart) { chart.chartType = type; });
}

void BuiltinChart::SetSourceData(const xl::RangePtr& source, std::int32_t plotBy) {
    chartSheetOf(sheet_);
    const auto* range = dynamic_cast<const BuiltinRange*>(source.get());
    if (range == nullptr || range->sheetRef().app != sheet_.app) {
        throw hostError(xl::ErrTypeMismatch, xl::errorDescription(xl::ErrTypeMismatch));
    }
    if (plotBy != xl::xlColumns && plotBy != xlRows) {
        throw methodError("SetSourceData method of Chart class failed");
    }
    if (range->areas().size() != 1) {
        throw methodError("SetSourceData method of Chart class failed");
    }
    const auto& worksheet = range->sheetRef().worksheet();
    sheet_.app->settle();
    auto series = seriesFromSource(worksheet, range->areas().front(), plotBy == xl::xlColumns);
    editChart(sheet_, [&](kelvor::Chart& chart) {
        for (auto& s : series) {
            s.id = ++chart.seriesMade;
        }
        chart.series = std::move(series);
    });
}

void BuiltinChart::setHasTitle(bool has) {
    editChart(sheet_, [&](kelvor::Chart& chart) { chart.hasTitle = has; });
}

std::shared_ptr<xl::ChartTextElement> BuiltinChart::ChartTitle() {
    if (!chartSheetOf(sheet_).chart().hasTitle) {
        throw methodError("Unable to get the ChartTitle property of the Chart class");
    }
    return std::make_shared<BuiltinChartTitle>(sheet_, std::nullopt);
}

std::shared_ptr<xl::Axis> BuiltinChart::Axes(std::int32_t type, std::int32_t group) {
    const auto axisType = static_cast<AxisType>(type);
    const auto axisGroup = static_cast<AxisGroup>(group);
    checkAxis(chartSheetOf(sheet_).chart(), axisType, axisGroup);
    return std::make_shared<BuiltinAxis>(sheet_, axisType, axisGroup);
}

void BuiltinChart::setHasLegend(bool has) {
    editChart(sheet_, [&](kelvor::Chart& chart) { chart.hasLegend = has; });
}

std::shared_ptr<xl::ChartElement> BuiltinChart::PlotArea() {
    chartSheetOf(sheet_);
    return std::make_shared<BuiltinChartElement>(sheet_,
                                                 ChartElementRef{ChartElementRef::Kind::PlotArea});
}

std::shared_ptr<xl::SeriesCollection> BuiltinChart::SeriesCollection() {
    chartSheetOf(sheet_);
    return std::make_shared<BuiltinSeriesCollection>(sheet_);
}

std::shared_ptr<xl::Shapes> BuiltinChart::Shapes() {
    chartSheetOf(sheet_);
    return std::make_shared<BuiltinShapes>(sheet_);
}

std::shared_ptr<xl::PageSetup> BuiltinChart::PageSetup() {
    chartSheetOf(sheet_);
    return std::make_shared<BuiltinPageSetup>(sheet_);
}

void BuiltinChart::Deselect() {
    chartSheetOf(sheet_);
    sheet_.view().chartSelection = {};
}

} // namespace kelvor
