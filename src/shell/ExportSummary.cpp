#include "shell/ExportSummary.h"

#include "batches/JournalingExport.h"
#include "export/SummarizeChannel.h"

namespace kelvor {

void ExportSummary::summarizeChannel(int channel, PromptOwner owner) {
    const ExportingChannel naming(ctx_, channel, owner);
    ChannelRecord& record = channels_.at(static_cast<std::size_t>(channel));
    const float traceOffset = ctx_.SummaryTraceOffset;
    // A failed summary may leave part of itself behind: it is journaled all the same.
    struct Journaled {
        ~Journaled() {
            if (journal != nullptr) {
                journal->summarized(channel, workbookNameAt(ctx, record.WorkbookIndex),
                                    record.Description, traceOffset);
            }
        }
        BatchJournal* journal;
        const ExportContext& ctx;
        const ChannelRecord& record;
        int channel;
        float traceOffset;
    } journaled{journal_, ctx_, record, channel, traceOffset};
    SummarizeChannel(ctx_, channel, record.ReceivedText, record.WorkbookIndex);
}

} // namespace kelvor
