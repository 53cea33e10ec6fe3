#include "shell/ExportSummary.h"

#include "export/SummarizeChannel.h"

namespace kelvor {

void ExportSummary::summarizeChannel(int channel, PromptOwner owner) {
    const ExportingChannel naming(ctx_, channel, owner);
    ChannelRecord& record = channels_.at(static_cast<std::size_t>(channel));
    SummarizeChannel(ctx_, channel, record.ReceivedText, record.WorkbookIndex);
}

} // namespace kelvor
