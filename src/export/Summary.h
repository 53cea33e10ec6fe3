#pragma once

#include "export/ExportContext.h"

namespace kelvor {

// Rebuilds the summary of the active workbook from scratch: removes the old summary sheets,
// writes a "Summary" sheet listing every visible constant-rate test with its force and
// deformation result and statistics over them, then the "Summary Plot" chart and its hidden
// "Summary XOffset" sheet. Failures are thrown to the caller; what was built stays.
void BuildSummary(ExportContext& ctx);

} // namespace kelvor
