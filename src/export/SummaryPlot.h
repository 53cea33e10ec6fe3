#pragma once

#include "export/ExportContext.h"
#include "export/RateTestReading.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvor {

// The last stage of BuildSummary: the "Summary Plot" chart sheet behind the Summary sheet,
// overlaying the force-deformation curves of the counted `tests` (in sheet order), each shifted
// by its multiple of the trace offset, with the statistics in a text box; the shifted
// deformations live as formulas on the "Summary XOffset" sheet, hidden at the end. Expects the
// filled Summary sheet active, with B8 and D8 selected when a test was counted.
void buildSummaryPlot(ExportContext& ctx, xl::Sheet& summary, const std::vector<RateTest>& tests,
                      const std::string& forceUnit, const std::string& deflectionUnit);

// A single-precision number written for a formula: a leading blank when it is not negative
// (a minus sign otherwise), no zero before the point below 1, at most 7 significant digits:
// " 0", " .5", " 1.5", "-.5", " 1E+07".
std::string offsetText(float value);

// The column letters of a 1-based column number: A, Z, AA, XFD.
std::string columnLetters(std::int32_t column);

} // namespace kelvor
