#pragma once

#include "host/model/Cell.h"

#include <string>
#include <string_view>

namespace kelvor {

// A cell's value as the spreadsheet displays it through a number format. General shows up to
// eleven characters of a number (switching to exponent form when that keeps more digits);
// number formats with 0, # and ?, a point, thousands commas and percent; date and time formats
// with d, m, y, h, s, AM/PM and [h]; sections for positive;negative;zero;text; quoted and
// escaped literals. A format it cannot read shows the number as General.
std::string displayText(const CellValue& value, std::string_view numberFormat);

// The General display of a number.
std::string generalText(double number);

} // namespace kelvor
