#pragma once

#include "export/Spreadsheet.h"
#include "host/model/Cell.h"

namespace kelvor {

// A value as the application hands it over (an error value as its text).
xl::Variant toVariant(const CellValue& value);
// A value handed to the application as a cell holds it: text stays text, nothing handed over
// is read as a number or a formula; a number that is not finite is #NUM!, a date its serial.
CellValue toCellValue(const xl::Variant& value);

} // namespace kelvor
