#pragma once

#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// Continues FormatDataSheet for a constant-rate report on the active data sheet: labels the
// two data columns with their units, fits the columns, repeats the column-header row on every
// printed page, splits the label/value lines at their colons, charts force against
// deformation on a chart sheet of its own, rebuilds the summary and activates the
// next-to-last sheet. The chart sheet is named after `dataSheetName`. Failures go to
// FormatDataSheet's handler.
void FormatRateSheet(ExportContext& ctx, std::int32_t channel, const std::string& dataSheetName);

} // namespace kelvor
