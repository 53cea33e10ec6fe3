#pragma once

#include "capture/ReportExport.h"
#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// Takes one complete report of a channel into the channel's workbook: activates the workbook,
// adds and formats the data sheet with screen updating off and calculation manual, restores
// both and beeps when the report was not recognised. The workbook's summary is there
// afterwards whenever it was there before. A report that cannot be put on a sheet
// is told to the user once, naming the file that keeps it as received.
class ReportExportStep : public ReportExport {
public:
    explicit ReportExportStep(ExportContext& ctx) : ctx_(ctx) {}

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin& origin,
                               std::int32_t& workbookIndex) override;

private:
    void markCutShort();
    bool runSteps(int channel, std::string& reportText, std::int32_t& workbookIndex);
    void restoreSummary();
    void restoreApplicationQuietly();
    ExportOutcome outcome(bool decided, const std::string& reportText);

    ExportContext& ctx_;
};

} // namespace kelvor
