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

// The counted constant-rate sheets of the active workbook from sheet `first` on, read in sheet
// order in one walk over the sheets.
struct SheetReadings {
    std::vector<RateTestReading> tests;
    // The units of the last constant-rate worksheet before the last sheet, hidden or not, whose
    // units can be read: a summary's units when none of its tests can be read.
    RateUnits lastUnits;
    // Whether a summary sheet stands among the sheets read.
    bool summarySheet = false;
};

SheetReadings readRateSheets(xl::Application& app, std::int32_t first);

// The tests of every sheet now standing.
SummaryTests collectSummaryTests(xl::Application& app);

// Whether a test read behind a summary in `units` can be added to it as it stands: readable,
// without a remark, in those units and summable with the others (then counted in `stats`).
bool addsPlainly(const RateUnits& units, SummaryStatistics& stats, const RateTestReading& reading);

} // namespace kelvor
