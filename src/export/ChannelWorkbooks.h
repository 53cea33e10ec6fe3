#pragma once

#include "export/ExportContext.h"

#include <cstdint>
#include <string>

namespace kelvor {

// How often one ActivateChannelWorkbook call replaces a failing application before it gives
// the error to its caller: enough for an application the user closed, not an endless loop
// when every new application fails too.
inline constexpr int MaxApplicationRestarts = 3;

// Starts a new, visible application into ExcelApp. An application held before is only
// dropped, never closed. Throws when none can be started.
void StartExcel(ExportContext& ctx);

// Makes sure the application runs and the channel's workbook is the active one, making a new
// workbook (and rewriting `workbookIndex`) when the channel has none or its position lies
// beyond the open workbooks. A failing step starts a new application and is repeated.
// `channel` (0 to 5) names a new workbook's file after the channel; without one the
// application names it.
void ActivateChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex, int channel = -1);

// Adds a workbook holding the one worksheet "Data 1" and stores its position.
void NewChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex, int channel = -1);

// Adds a channel workbook as NewChannelWorkbook does, but standing for the existing file of
// `fileName` (no folder, no extension) of a batch reopened after a restart; starts the
// application when none runs.
void ReopenChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex,
                           const std::string& fileName);

// Ends the channel's batch: its workbook is saved one last time and closed, so the channel's
// next report starts a new one. The workbooks behind it move up one position, and so do the
// positions other channels keep. Returns false when the channel has no open workbook. A
// workbook that cannot be saved stays open: the HostError says why.
bool CloseChannelWorkbook(ExportContext& ctx, ChannelTable& channels, int channel);

// Drops the application at exit; it stays open for the user.
void ReleaseExcel(ExportContext& ctx);

} // namespace kelvor
