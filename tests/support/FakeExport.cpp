#include "FakeExport.h"

namespace kelvor {

ExportOutcome FakeExport::exportReport(int channel, std::string& reportText,
                                       const ReportOrigin& origin, std::int32_t& workbookIndex) {
    calls.push_back({channel, reportText, workbookIndex, origin.archiveFile, origin.cutShortBy});
    if (during) {
        during(channel);
    }
    if (assignWorkbookIndex != 0) {
        workbookIndex = assignWorkbookIndex;
    }
    if (!consume) {
        return {};
    }
    if (notReport) {
        reportText.clear();
        ExportOutcome dropped;
        dropped.notReport = true;
        return dropped;
    }
    reportText.clear();
    return {.pasted = true, .workbook = "Book" + std::to_string(workbookIndex), .sheet = "Data 1"};
}

} // namespace kelvor
