#pragma once

#include "export/RateTestReading.h"
#include "export/SummaryStatistics.h"
#include "export/SummaryTests.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelvor {

// What the last summary of a workbook was made from, so that the next one can follow it when
// only new sheets came behind the ones it summarised.
struct SummaryMemo {
    // The application's mark of the sheets in front of the summary, and how many they were.
    std::uint64_t token = 0;
    std::int32_t keptSheets = 0;
    float traceOffset = 0;
    RateUnits units;
    UnitCounts unitCounts;
    SummaryStatistics stats;
    std::size_t counted = 0;
    // The notes below the table, in order: a followed summary writes them again one row
    // further down for every new test.
    std::vector<std::string> notes;
};

// By workbook name; a memo whose token the application no longer knows is simply not followed.
using SummaryMemos = std::map<std::string, SummaryMemo>;

} // namespace kelvor
