#pragma once

#include "export/ExportContext.h"

#include <cstdint>

namespace kelvor {

// Continues FormatDataSheet for a constant-load report on the active data sheet. Failures
// go to FormatDataSheet's handler.
void FormatLoadSheet(ExportContext& ctx, std::int32_t channel);

} // namespace kelvor
