#pragma once

#include "export/RateTestReading.h"
#include "export/SummaryStatistics.h"

#include <cstdint>
#include <map>
#include <string>

namespace kelvor {

// What the last summary of a workbook was made from, so that the next one can follow it when
// only new sheets came behind the ones it summarised.
struct SummaryMemo {
    // The application's mark of the sheets in front of the summary, and how many they were.
    std::uint64_t token = 0;
    std::int32_t keptSheets = 0;
    float traceOffset = 0;
    RateUnits units;
    SummaryStatistics stats;
    std::size_t counted = 0;
    // Tests left out with a note below the table: the note would have to move with every
    // new row, so such a summary is made again instead.
    std::size_t notes = 0;
};

// By workbook name; a memo whose token the application no longer knows is simply not followed.
using SummaryMemos = std::map<std::string, SummaryMemo>;

} // namespace kelvor
