#pragma once

#include "host/model/Cell.h"

#include <string>
#include <variant>

namespace kelvor {

// How formulas take the values of cells and of their parts, as the spreadsheet does.

using Number = std::variant<double, CellError>;

// A value as a number: empty is 0, true 1, text read as typed in general format; text that is
// no number is #VALUE!, an error stays itself.
Number toNumber(const CellValue& value);
// A value as text: text as it is, anything else as shown in general format.
std::string toText(const CellValue& value);

// `left op right` for + - * / ^ and & (joins texts); the first error met is the result.
CellValue arithmetic(char op, const CellValue& left, const CellValue& right);
// -value.
CellValue negate(const CellValue& value);
// TIMEVALUE(argument): the fraction of a day a number or a time text stands for.
CellValue timeValue(const CellValue& argument);

} // namespace kelvor
