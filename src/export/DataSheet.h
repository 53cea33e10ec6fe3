#pragma once

#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// The reserved names of a channel workbook's summary sheets.
inline constexpr const char* SummarySheetName = "Summary";
inline constexpr const char* SummaryPlotSheetName = "Summary Plot";
inline constexpr const char* SummaryXOffsetSheetName = "Summary XOffset";

bool isSummarySheetName(const std::string& name);

// Walks the active workbook's sheets from the last to the first and deletes the summary
// sheets, hidden or not, and nothing else. The caller switches the alerts off around it.
void removeSummarySheets(xl::Application& app);

// Removes the summary sheets of the channel's workbook and puts a report that holds
// "CONSTANT" onto a data sheet: the fresh "Data 1" while the workbook has only that sheet,
// otherwise a new last sheet "Data " + worksheet count. Sets ReportPasted and DataSheetName
// and empties `text` once handled. `text` is raw Windows-1252 bytes. Failures are shown
// (8002 passes silently) and leave `text` as it was.
// Sets SummaryTakenAway when it removed summary sheets.
// Returns whether ReportPasted was written for this report; false when a failure came first.
bool AddDataSheet(ExportContext& ctx, std::string& text, std::int32_t workbookIndex);

// Makes the text begin at its test title: drops anything in front of the first "CONSTANT",
// or restores a lost leading "C". Texts under 9 characters are left alone.
void NormalizeTestTitle(std::string& text);

} // namespace kelvor
