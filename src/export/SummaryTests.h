#pragma once

#include "export/RateTestReading.h"
#include "export/Spreadsheet.h"
#include "export/SummaryStatistics.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kelvor {

// How many readable tests each pair of units has, in the order the pairs were first met.
using UnitCounts = std::vector<std::pair<RateUnits, std::size_t>>;

// The tests a summary is made of, read from the visible constant-rate sheets of the active
// workbook, in sheet order, before the summary sheets are added.
struct SummaryTests {
    // Those most of the readable tests share; among equally many pairs, the earlier test's.
    RateUnits units;
    UnitCounts unitCounts;
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

// Counts the tests read behind the ones of `summary` (its units, counts and statistics as they
// were made; its tests and notes empty) as a rebuild would count them, and gives those to add
// to its table and notes. False, with `summary` in no defined state, when a rebuild would
// choose other units.
bool countTestsBehind(SummaryTests& summary, std::vector<RateTestReading>& readings);

} // namespace kelvor
