#include "export/RateSheet.h"

#include "export/ReportHeader.h"

namespace kelvor {

void FormatRateSheet(ExportContext& ctx, std::int32_t channel) {
    const xl::SheetPtr active = ctx.application().ActiveSheet();
    xl::Sheet& sheet = *active;
    ReportHeader header;
    header.HeaderRow = FindHeaderRow(sheet, "DEFLECTION");
    header.PointCount = ReadPointCount(sheet, header.HeaderRow);
    CollectHeaderLines(sheet, header.HeaderRow, channel, ctx.ChannelInfo, header);
    header.ForceUnit = UnitFromLine(header.HeaderLines[3], ForceUnitPrefix);
    header.DeflectionUnit = UnitFromLine(header.HeaderLines[4], DeflectionUnitPrefix);
    // The data table, its chart and the summary are not built yet.
}

} // namespace kelvor
