#include "export/ReportProblem.h"

#include "Version.h"

namespace kelvor {

std::string reportProblemSentence(const xl::HostError& error) {
    if (error.source() != ProgramTitle) {
        return {}; // the spreadsheet's own errors are about workbooks and sheets
    }
    switch (error.number()) {
    case xl::ErrOverflow:
        // The search for the column headings ran to the end of the sheet.
        return "The report has no line of column headings (DEFLECTION or DATE) above its "
               "readings.";
    case xl::ErrSubscript:
        return "The report has more header lines before its column headings than a test "
               "report has.";
    case xl::ErrInvalidCall:
        return "A units line of the report (force, deflection or temperature units) is "
               "missing or cut short.";
    default:
        return {};
    }
}

} // namespace kelvor
