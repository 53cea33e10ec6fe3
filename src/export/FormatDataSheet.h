#pragma once

#include "export/DataSheet.h"
#include "export/ExportContext.h"
#include "export/Spreadsheet.h"

#include <cstdint>

namespace kelvor {

// Splits the report AddDataSheet left on the active sheet into columns, lays the sheet out
// for printing and continues with the test kind its title names. Does nothing when the
// report was not pasted. Failures are shown and end the procedure; what was done before stays
// in the workbook. Returns whether it showed one.
bool FormatDataSheet(ExportContext& ctx, std::int32_t channel, const AddedDataSheet& added);

} // namespace kelvor
