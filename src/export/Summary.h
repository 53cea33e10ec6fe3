#pragma once

#include "export/ExportContext.h"

namespace kelvor {

// Rebuilds the summary of the active workbook from scratch: removes the old summary sheets,
// writes a "Summary" sheet listing every visible constant-rate test with its force and
// deformation result and statistics over them, then the "Summary Plot" chart and its hidden
// "Summary XOffset" sheet. A test sheet that cannot be read is left out of both, with a note
// on the Summary sheet naming it and why. Failures are thrown to the caller after the summary
// sheets built so far are removed again: they are complete or absent.
void BuildSummary(ExportContext& ctx);

} // namespace kelvor
