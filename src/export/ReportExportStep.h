#pragma once

#include "capture/ReportExport.h"
#include "export/DataSheet.h"
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
    // What the steps did with the report, and whether any of them showed a message.
    struct Steps {
        AddedDataSheet added;
        bool messageShown = false;
    };

    void markCutShort();
    Steps runSteps(int channel, std::string& reportText, std::int32_t& workbookIndex);
    bool restoreSummary(bool takenAway);
    void restoreApplicationQuietly();
    ExportOutcome outcome(const AddedDataSheet& added, const std::string& reportText);

    ExportContext& ctx_;
};

} // namespace kelvor
