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

// How a report came to be complete.
struct ReportOrigin {
    // Where it is kept as received; empty when it could not be kept.
    std::string archiveFile;
    // Why it ended before its tester fell silent ("the line was lost"); empty when it did not.
    std::string cutShortBy;
};

// The step that takes a complete report of one channel into its spreadsheet workbook. It may
// empty `reportText` and rewrite the channel's workbook position. Every message about a report
// that could not be exported names the file that keeps it as received. A report is handed
// over once, whatever the outcome.
class ReportExport {
public:
    virtual ~ReportExport() = default;
    virtual ExportOutcome exportReport(int channel, std::string& reportText,
                                       const ReportOrigin& origin, std::int32_t& workbookIndex) = 0;
    // A report that ended by itself.
    ExportOutcome exportReport(int channel, std::string& reportText, const std::string& archiveFile,
                               std::int32_t& workbookIndex) {
        return exportReport(channel, reportText, ReportOrigin{archiveFile, {}}, workbookIndex);
    }
};

} // namespace kelvor
