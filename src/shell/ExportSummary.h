#pragma once

#include "capture/ChannelInfo.h"
#include "dialogs/SummaryService.h"
#include "export/ExportContext.h"

namespace kelvor {

// "Summarize Now" of the setup dialog, carried out by the spreadsheet export on the channel's
// own received text and workbook.
class ExportSummary final : public SummaryService {
public:
    ExportSummary(ExportContext& ctx, ChannelTable& channels) : ctx_(ctx), channels_(channels) {}
    void summarizeChannel(int channel, PromptOwner owner) override;

private:
    ExportContext& ctx_;
    ChannelTable& channels_;
};

} // namespace kelvor
