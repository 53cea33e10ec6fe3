#pragma once

#include "host/app/state/ApplicationState.h"
#include "host/model/ChartSheet.h"

#include <functional>

namespace kelvor {

// What the chart handles share: finding their chart and its parts again at every call, so a
// handle whose chart sheet, series or axis is gone fails with a HostError.

// The chart sheet of the handle; 438 when it is a worksheet.
ChartSheet& chartSheetOf(const SheetRef& sheet);

// Changes the chart; the model's refusals become the application's 1004.
void editChart(const SheetRef& sheet, const std::function<void(Chart&)>& edit);

// 1004 when the chart no longer has the series.
ChartSeries& seriesWithId(Chart& chart, std::uint32_t id);
const ChartSeries& seriesWithId(const Chart& chart, std::uint32_t id);
TextBox& textBoxAt(Chart& chart, std::uint32_t index);

// A chart has secondary axes while a series is plotted on them.
bool hasSecondaryAxes(const Chart& chart);
// 1004 unless the chart has the axis.
void checkAxis(const Chart& chart, AxisType type, AxisGroup group);

// Whether the element still exists on the chart.
bool hasElement(const Chart& chart, const ChartElementRef& element);

// Selects the element of the chart sheet, which must be the active sheet.
void selectChartElement(const SheetRef& sheet, const ChartElementRef& element);

} // namespace kelvor
