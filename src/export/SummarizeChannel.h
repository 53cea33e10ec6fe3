#pragma once

#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// "Summarize Now" for one channel: activates (or makes) the channel's workbook, takes in
// whatever received text the channel still holds as a report, and rebuilds the workbook's
// summary with the current trace offset. Screen updating and automatic calculation are back
// on afterwards, also when the summary fails, so the workbook still reaches its file; the
// failure is then thrown on. `receivedText` and `workbookIndex` are the channel's own.
void SummarizeChannel(ExportContext& ctx, std::int32_t channel, std::string& receivedText,
                      std::int32_t& workbookIndex);

} // namespace kelvor
