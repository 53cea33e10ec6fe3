#pragma once

#include "export/Spreadsheet.h"

#include <cstdint>
#include <optional>

namespace kelvor {

// What the summary reads from the constant-rate sheets of a workbook.

// A sheet count or index held in a 16-bit counter; overflow (6) past 32767.
std::int16_t sheetCounter(std::int32_t count);

// Whether the summary counts the sheet: a visible worksheet whose A1 is exactly the
// constant-rate title.
bool isCountedRateSheet(xl::Sheet& sheet);

// Whether the sheet is a worksheet whose A1 is exactly the constant-rate title, hidden or not.
bool isRateWorksheet(xl::Sheet& sheet);

// The data header row: the first row from 11 on whose column-A text, without surrounding
// blanks, begins with "DEFLECTION" (a labelled header cell goes on with its unit). Nothing
// when the search reaches row 32767 without finding it.
std::optional<std::int16_t> findResultHeaderRow(xl::Sheet& sheet);

// Cell (row, column) read as a number: its text's leading number, 0 when it has none.
double cellNumber(xl::Sheet& sheet, std::int32_t row, std::int32_t column);

} // namespace kelvor
