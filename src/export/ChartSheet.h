#pragma once

#include "export/ExportContext.h"
#include "export/SpreadsheetCharts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

// The footer every chart sheet prints: file and sheet name.
inline constexpr std::string_view ChartFooter = "File: &F  Sheet:&A";

// Adds a chart sheet at the very end of the active workbook that plots `source` by columns as
// a scatter with straight lines and no markers, and names it `dataSheetName` + " Plot". The
// new chart is the active chart. A name already taken fails with 1004 and leaves the chart
// with the application's own name.
void AddChartSheet(ExportContext& ctx, const xl::RangePtr& source,
                   const std::string& dataSheetName);

// Dotted hairline major gridlines, and no minor ones, on the active chart's primary axis of
// the type (xlCategory or xlValue).
void StyleMajorGridlines(xl::Application& app, std::int32_t axisType);

// A framed, white text box on the active chart holding `text` in Arial of the given size,
// centred; it starts at the given size in points and grows to fit its text.
void AddInfoTextBox(xl::Application& app, const std::string& text, double left, double top,
                    double width, double height, std::int16_t fontSize);

// A thin plot-area frame and no plot-area fill, through the selection.
void formatPlotArea(xl::Application& app, xl::Chart& chart);

// The thin, continuous, blue line of a plotted test.
void styleSeriesLine(xl::Border& border);

// The plain Arial font of a text box, through the selection's characters from the first one.
void setTextBoxFont(xl::ChartSelection& selection, std::int16_t size);

} // namespace kelvor
