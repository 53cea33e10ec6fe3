#pragma once

#include "batches/BatchJournal.h"
#include "capture/ChannelInfo.h"
#include "dialogs/SummaryService.h"
#include "export/ExportContext.h"

namespace kelvor {

// "Summarize Now" of the setup dialog, carried out by the spreadsheet export on the channel's
// own received text and workbook.
class ExportSummary final : public SummaryService {
public:
    // With a journal, every summary is journaled (as a report's export is), so that a batch
    // reopened after a restart has it too.
    ExportSummary(ExportContext& ctx, ChannelTable& channels, BatchJournal* journal = nullptr)
        : ctx_(ctx), channels_(channels), journal_(journal) {}
    void summarizeChannel(int channel, PromptOwner owner) override;

private:
    ExportContext& ctx_;
    ChannelTable& channels_;
    BatchJournal* journal_;
};

} // namespace kelvor
