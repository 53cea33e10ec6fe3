#pragma once

#include "export/Spreadsheet.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

// A number written the way the automation runtime converts it to text: up to 15 significant
// digits, no trailing zeros, exponent form ("1E+15", "1E-05") only for very large or small
// values, a point as decimal separator.
std::string numberText(double value);

// A cell value converted to text: numbers as numberText, booleans "True"/"False".
std::string cellText(const xl::Variant& value);

// The text of cell (row, column) of a worksheet.
std::string cellText(xl::Sheet& sheet, std::int32_t row, std::int32_t column);

// The text without leading and trailing blanks (spaces only, as Trim removes them).
std::string_view trimBlanks(std::string_view text);

// A cell address from a column letter and a row number: "A" & row. A row that is not whole
// keeps its fraction ("B115.5"), which the application rejects.
std::string cellAddress(char column, double row);

} // namespace kelvor
