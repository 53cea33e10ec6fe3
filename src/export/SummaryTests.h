#pragma once

#include "export/RateTestReading.h"
#include "export/Spreadsheet.h"
#include "export/SummaryStatistics.h"

#include <string>
#include <vector>

namespace kelvor {

// The tests a summary is made of, read from the visible constant-rate sheets of the active
// workbook, in sheet order, before the summary sheets are added.
struct SummaryTests {
    // Those most of the readable tests share; among equally many pairs, the earlier test's.
    RateUnits units;
    std::vector<RateTest> tests;
    SummaryStatistics stats;
    // One line per test left out or counted with a remark, in sheet order.
    std::vector<std::string> notes;
};

// `fallbackUnits` are the units when no test can be read.
SummaryTests collectSummaryTests(xl::Application& app, const RateUnits& fallbackUnits);

// Whether a test read behind a summary in `units` can be added to it as it stands: readable,
// without a remark, in those units and summable with the others (then counted in `stats`).
bool addsPlainly(const RateUnits& units, SummaryStatistics& stats, const RateTestReading& reading);

} // namespace kelvor
