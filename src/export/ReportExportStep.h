#pragma once

#include "capture/ReportExport.h"
#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// Takes one complete report of a channel into the channel's workbook: activates the workbook,
// adds and formats the data sheet with screen updating off and calculation manual, restores
// both and beeps when the report was not recognised.
class ReportExportStep : public ReportExport {
public:
    explicit ReportExportStep(ExportContext& ctx) : ctx_(ctx) {}

    void exportReport(int channel, std::string& reportText, std::int32_t& workbookIndex) override;

private:
    void restoreApplicationQuietly();

    ExportContext& ctx_;
};

} // namespace kelvor
