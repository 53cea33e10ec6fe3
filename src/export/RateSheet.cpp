#include "export/RateSheet.h"

#include "export/CellText.h"
#include "export/ChartSheet.h"
#include "export/ReportHeader.h"
#include "export/ReportLines.h"
#include "export/Summary.h"

#include <string>

namespace kelvor {

namespace {

// Label/value lines: split at the colon into a label in A and its value in B.
xl::TextToColumnsOptions labelValueSplit() {
    xl::TextToColumnsOptions options;
    options.dataType = xl::xlDelimited;
    options.textQualifier = xl::xlTextQualifierNone;
    options.consecutiveDelimiter = false;
    options.tab = false;
    options.semicolon = false;
    options.comma = false;
    options.space = false;
    options.other = true;
    options.otherChar.assign(1, ':');
    options.fieldInfo = {{1, xl::xlGeneralFormat}, {2, xl::xlGeneralFormat}};
    return options;
}

void splitLabelValues(xl::Application& app, xl::Sheet& sheet, const std::string& rows,
                      const std::string& destination) {
    sheet.Range(rows)->Select();
    app.Selection()->AsRange()->TextToColumns(sheet.Range(destination), labelValueSplit());
}

void layOutTable(xl::Application& app, xl::Sheet& sheet, const ReportHeader& header) {
    const std::string row = std::to_string(header.HeaderRow);
    LabelHeaderCell(sheet, header.HeaderRow, 1, header.DeflectionUnit);
    LabelHeaderCell(sheet, header.HeaderRow, 2, header.ForceUnit);
    sheet.Range("A" + row + ":B" + row)->Select();
    app.Selection()->AsRange()->Columns()->AutoFit();
    sheet.PageSetup()->setPrintTitleRows("$" + row + ":$" + row);

    splitLabelValues(app, sheet, "A5:A7", "A5");
    splitLabelValues(app, sheet, "A9:A12", "A9");
    sheet.Range("A9:A12")->Select();
    app.Selection()->AsRange()->Columns()->AutoFit();

    sheet.Columns("A:A")->Select();
    sheet.Range("A1:A12")->Select();
    app.Selection()->AsRange()->TextToColumns(sheet.Range("A1"), reportLineSplit());
    sheet.Range("A1:A2")->Select();
}

void formatChart(xl::Application& app, const ReportHeader& header) {
    const std::shared_ptr<xl::Chart> chart = app.ActiveChart();
    chart->setHasTitle(true);
    chart->ChartTitle()->Characters()->setText("CONSTANT RATE TEST DATA: FORCE vs DEFORMATION");
    const auto category = chart->Axes(xl::xlCategory, xl::xlPrimary);
    category->setHasTitle(true);
    category->AxisTitle()->Characters()->setText("Deformation (" + header.DeflectionUnit + ")");
    const auto value = chart->Axes(xl::xlValue, xl::xlPrimary);
    value->setHasTitle(true);
    value->AxisTitle()->Characters()->setText("Force (" + header.ForceUnit + ")");
    StyleMajorGridlines(app, xl::xlCategory);
    StyleMajorGridlines(app, xl::xlValue);
    chart->setHasLegend(false);
    formatPlotArea(app, *chart);
    chart->SeriesCollection()->Item(std::int16_t{1})->Select();
    styleSeriesLine(*app.Selection()->AsChartSelection()->Border());
    AddInfoTextBox(app, header.InfoText, 475, 250, 112.93, 154.45, 8);
    chart->PageSetup()->setRightFooter(std::string(ChartFooter));
}

} // namespace

void FormatRateSheet(ExportContext& ctx, std::int32_t channel, const std::string& dataSheetName) {
    xl::Application& app = ctx.application();
    const xl::SheetPtr active = app.ActiveSheet();
    xl::Sheet& sheet = *active;
    ReportHeader header;
    header.HeaderRow = FindHeaderRow(sheet, "DEFLECTION");
    header.PointCount = ReadPointCount(sheet, header.HeaderRow);
    const std::string firstCell = cellAddress('A', header.HeaderRow + 1.0);
    const std::string lastCell = cellAddress('B', header.HeaderRow + header.PointCount);
    CollectHeaderLines(sheet, header.HeaderRow, channel, ctx.ChannelInfo, header);
    header.ForceUnit = UnitFromLine(header.HeaderLines[3], ForceUnitPrefix);
    header.DeflectionUnit = UnitFromLine(header.HeaderLines[4], DeflectionUnitPrefix);

    layOutTable(app, sheet, header);
    AddChartSheet(ctx, sheet.Range(firstCell, lastCell), dataSheetName);
    formatChart(app, header);

    UpdateSummary(ctx);
    app.Sheets()->Item(app.Sheets()->Count() - 1)->Activate();
}

} // namespace kelvor
