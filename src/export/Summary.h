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

// The summary after a new report: follows the summary the report set aside when nothing but
// new sheets came since it was made, with the very result BuildSummary gives; otherwise (a
// sheet removed, renamed or edited, the trace offset changed, ...) BuildSummary.
void UpdateSummary(ExportContext& ctx);

// Walks the active workbook's sheets from the last to the first, as removeSummarySheets does,
// and takes the summary sheets away: kept aside when the application can keep them, for
// UpdateSummary to follow, deleted otherwise. Returns whether there were any. The caller
// switches the alerts off around it.
bool setSummaryAside(xl::Application& app);

} // namespace kelvor
