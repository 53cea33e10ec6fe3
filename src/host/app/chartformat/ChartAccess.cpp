#include "host/app/chartformat/ChartAccess.h"

#include "host/app/errors/HostErrors.h"

#include <algorithm>
#include <utility>

namespace kelvor {

ChartSheet& chartSheetOf(const SheetRef& sheet) {
    auto* chart = asChartSheet(sheet.sheet());
    if (chart == nullptr) {
        throw unsupportedError();
    }
    return *chart;
}

void editChart(const SheetRef& sheet, const std::function<void(Chart&)>& edit) {
    auto& chart = chartSheetOf(sheet);
    modelCall([&] { chart.editChart(edit); });
}

ChartSeries& seriesWithId(Chart& chart, std::uint32_t id) {
    return const_cast<ChartSeries&>(seriesWithId(std::as_const(chart), id));
}

const ChartSeries& seriesWithId(const Chart& chart, std::uint32_t id) {
    const auto found = std::find_if(chart.series.begin(), chart.series.end(),
                                    [&](const ChartSeries& s) { return s.id == id; });
    if (found == chart.series.end()) {
        throw objectError();
    }
    return *found;
}

TextBox& textBoxAt(Chart& chart, std::uint32_t index) {
    if (index >= chart.textBoxes.size()) {
        throw objectError();
    }
    return chart.textBoxes[index];
}

bool hasSecondaryAxes(const Chart& chart) {
    return std::any_of(chart.series.begin(), chart.series.end(),
                       [](const ChartSeries& s) { return s.axisGroup == 2; });
}

void checkAxis(const Chart& chart, AxisType type, AxisGroup group) {
    if ((type != AxisType::Category && type != AxisType::Value) ||
        (group != AxisGroup::Primary && group != AxisGroup::Secondary) ||
        (group == AxisGroup::Secondary && !hasSecondaryAxes(chart))) {
        throw methodError("Unable to get the Axes property of the Chart class");
    }
}

bool hasElement(const Chart& chart, const ChartElementRef& element) {
    switch (element.kind) {
    case ChartElementRef::Kind::None:
    case ChartElementRef::Kind::PlotArea:
        return true;
    case ChartElementRef::Kind::MajorGridlines:
        return (element.axisGroup == AxisGroup::Primary || hasSecondaryAxes(chart)) &&
               chart.axis(element.axisType, element.axisGroup).hasMajorGridlines;
    case ChartElementRef::Kind::Series:
        return std::any_of(chart.series.begin(), chart.series.end(),
                           [&](const ChartSeries& s) { return s.id == element.id; });
    case ChartElementRef::Kind::TextBox:
        return element.id < chart.textBoxes.size();
    }
    return false;
}

void selectChartElement(const SheetRef& sheet, const ChartElementRef& element) {
    const auto& chart = chartSheetOf(sheet).chart();
    if (!sheet.isActive() || !hasElement(chart, element)) {
        throw methodError("Select method failed");
    }
    sheet.view().chartSelection = element;
}

} // namespace kelvor
