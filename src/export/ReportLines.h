#pragma once

#include "export/Spreadsheet.h"

#include <string_view>

namespace kelvor {

// The titles that name the two kinds of test, as they stand in A1 of a data sheet.
inline constexpr std::string_view RateTestTitle = "CONSTANT RATE TEST DATA";
inline constexpr std::string_view LoadTestTitle = "CONSTANT LOAD TEST DATA";

// The comma split of the pasted report lines: delimited, double-quote qualifier, commas only,
// column 1 in general format.
xl::TextToColumnsOptions reportLineSplit();

} // namespace kelvor
