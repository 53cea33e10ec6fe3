#pragma once

#include "host/model/Cell.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// A text read the way the spreadsheet reads what is typed into a cell in general format.
struct FieldValue {
    CellValue value;
    // The number format the cell gets with it; empty to leave the cell's format alone.
    std::string numberFormat;
};

inline constexpr const char* kDateFormat = "m/d/yyyy";
inline constexpr const char* kTimeFormat = "h:mm:ss";
inline constexpr const char* kDateTimeFormat = "m/d/yyyy h:mm";

// Number (blanks around, sign, decimal point, exponent), date m/d/yy or m/d/yyyy, time of day
// h:mm or h:mm:ss with optional AM/PM, a date followed by a time, TRUE or FALSE; an empty
// text gives an empty value; anything else stays text exactly as given. Nothing is ever read
// as a formula.
FieldValue readGeneral(std::string_view text);

// A plain decimal number with optional blanks around it; nothing for anything else.
std::optional<double> readNumber(std::string_view text);

// A time of day, or a date with a time (only the time counts), as a fraction of a day;
// a date alone gives 0. Nothing when the text is neither.
std::optional<double> readTimeValue(std::string_view text);

} // namespace kelvor
