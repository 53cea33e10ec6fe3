#pragma once

#include "export/ExportContext.h"

#include <cstdint>

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
void ActivateChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex);

// Adds a workbook holding the one worksheet "Data 1" and stores its position.
void NewChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex);

// Drops the application at exit; it stays open for the user.
void ReleaseExcel(ExportContext& ctx);

} // namespace kelvor
