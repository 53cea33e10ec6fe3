#pragma once

#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// Continues FormatDataSheet for a constant-load report on the active data sheet: combines the
// date and time-of-day columns into one date-and-time column, labels the column headers with
// their units and charts force and deflection against time on a chart sheet of its own, which
// is left active; it is named after `dataSheetName`. Failures go to FormatDataSheet's handler.
void FormatLoadSheet(ExportContext& ctx, std::int32_t channel, const std::string& dataSheetName);

} // namespace kelvor
