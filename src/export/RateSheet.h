#pragma once

#include "export/ExportContext.h"

#include <cstdint>

namespace kelvor {

// Continues FormatDataSheet for a constant-rate report on the active data sheet: reads the
// header block (header row, point count, header lines, units). Failures go to
// FormatDataSheet's handler.
void FormatRateSheet(ExportContext& ctx, std::int32_t channel);

} // namespace kelvor
