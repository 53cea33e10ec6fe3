#pragma once

#include "platform/PromptOwner.h"

namespace kelvor {

// Rebuilds the summary of one channel's workbook on demand: activates (or makes) the workbook,
// handles whatever received text the channel still holds, and rebuilds its summary sheets
// with the current trace offset. Failures are thrown (xl::HostError for the spreadsheet's own);
// the messages shown on the way belong to `owner`, the window that asked.
class SummaryService {
public:
    virtual ~SummaryService() = default;
    virtual void summarizeChannel(int channel, PromptOwner owner) = 0;
};

} // namespace kelvor
