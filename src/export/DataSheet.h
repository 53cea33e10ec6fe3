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

// What AddDataSheet did with a report.
struct AddedDataSheet {
    // Whether it looked at the report; false when a failure came first.
    bool decided = false;
    // Whether the report was recognised and is to go onto a data sheet (still true when
    // naming or pasting then failed), and that sheet's name.
    bool pasted = false;
    std::string sheetName;
    // Whether it took the workbook's summary sheets away.
    bool summaryTakenAway = false;
    // Whether it showed an error message.
    bool messageShown = false;
};

// Takes the summary sheets of the channel's workbook away and puts a report that holds
// "CONSTANT" onto a data sheet: the fresh "Data 1" while the workbook has only that sheet,
// otherwise a new last sheet "Data " + worksheet count. Empties `text` once handled. `text`
// is raw Windows-1252 bytes. Failures are shown (8002 passes silently) and leave `text` as it
// was.
AddedDataSheet AddDataSheet(ExportContext& ctx, std::string& text, std::int32_t workbookIndex);

// Makes the text begin at its test title: drops anything in front of the first "CONSTANT",
// or restores a lost leading "C". Texts under 9 characters are left alone.
void NormalizeTestTitle(std::string& text);

} // namespace kelvor
