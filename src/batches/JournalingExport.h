#pragma once

#include "batches/BatchJournal.h"
#include "capture/ChannelInfo.h"
#include "capture/ReportExport.h"
#include "export/ExportContext.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelvor {

// The export that journals what it did: every report handed to it, pasted or not, goes to the
// inner export and then into the journal with the workbook it went to, so that a later start
// can build that workbook again from the archive exactly as the export left it.
class JournalingExport final : public ReportExport {
public:
    // The file name of the workbook at a position of the running application; empty when there
    // is none.
    using WorkbookName = std::function<std::string(std::int32_t workbookIndex)>;

    JournalingExport(ReportExport& inner, BatchJournal& journal, const ChannelTable& channels,
                     const float& traceOffset, WorkbookName workbookName)
        : inner_(inner), journal_(journal), channels_(channels), traceOffset_(traceOffset),
          workbookName_(std::move(workbookName)) {}

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin& origin,
                               std::int32_t& workbookIndex) override;

private:
    ReportExport& inner_;
    BatchJournal& journal_;
    const ChannelTable& channels_;
    const float& traceOffset_;
    WorkbookName workbookName_;
};

// The name of the workbook at `workbookIndex` in the context's application; empty when none.
std::string workbookNameAt(const ExportContext& ctx, std::int32_t workbookIndex);

} // namespace kelvor
