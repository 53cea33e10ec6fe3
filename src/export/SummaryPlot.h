#pragma once

#include "export/ExportContext.h"
#include "export/RateTestReading.h"
#include "export/SpreadsheetCharts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvor {

// The spreadsheet programs take no more series in one chart.
constexpr std::size_t MaxPlottedTests = 255;

// The last stage of BuildSummary: the "Summary Plot" chart sheet behind the Summary sheet,
// overlaying the force-deformation curves of the counted `tests` (in sheet order), each shifted
// by its multiple of the trace offset, with the statistics in a text box; the shifted
// deformations live as formulas on the "Summary XOffset" sheet, hidden at the end. Expects the
// filled Summary sheet active, with B8 and D8 selected when a test was counted. Only the first
// MaxPlottedTests tests are plotted; the text box then says how many of all.
void buildSummaryPlot(ExportContext& ctx, xl::Sheet& summary, const std::vector<RateTest>& tests,
                      const std::string& forceUnit, const std::string& deflectionUnit);

// Brings the plot of `countedBefore` tests up to date with `newTests` counted behind them:
// the text box shows the Summary's statistics anew, and each new test within the limit gets
// its offset column and series, exactly as buildSummaryPlot would have made them.
void extendSummaryPlot(ExportContext& ctx, xl::Sheet& summary, xl::Chart& chart, xl::Sheet& offsets,
                       const std::vector<RateTest>& newTests, std::size_t countedBefore);

// A single-precision number written for a formula: a leading blank when it is not negative
// (a minus sign otherwise), no zero before the point below 1, at most 7 significant digits:
// " 0", " .5", " 1.5", "-.5", " 1E+07".
std::string offsetText(float value);

// The column letters of a 1-based column number: A, Z, AA, XFD.
std::string columnLetters(std::int32_t column);

} // namespace kelvor
