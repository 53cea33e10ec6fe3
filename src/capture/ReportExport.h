#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

// What became of one report in the spreadsheet.
struct ExportOutcome {
    bool pasted = false;  // it is on a data sheet of the channel's workbook
    std::string workbook; // that workbook and sheet, when pasted
    std::string sheet;
    bool notReport = false; // recognised as no test report and dropped
};

// The step that takes a complete report of one channel into its spreadsheet workbook. It may
// empty `reportText` and rewrite the channel's workbook position. `archiveFile` is where the
// report is kept as received (empty when it could not be kept): every message about a report
// that could not be exported names it. A report is handed over once, whatever the outcome.
class ReportExport {
public:
    virtual ~ReportExport() = default;
    virtual ExportOutcome exportReport(int channel, std::string& reportText,
                                       const std::string& archiveFile,
                                       std::int32_t& workbookIndex) = 0;
};

} // namespace kelvor
