#include "export/LoadSheet.h"

#include "export/CellText.h"
#include "export/ChartSheet.h"
#include "export/ReportHeader.h"

#include <string>

namespace kelvor {

namespace {

// U+00BA in UTF-8: the sign the testers' code page uses for degrees.
constexpr const char* DegreeSign = "\xC2\xBA";

struct LoadColumns {
    bool HasForceColumn = false;
    std::int16_t ForceColumn = 0;
    std::int16_t DeflectionColumn = 2;
    std::int16_t TemperatureColumn = 3;
    std::int16_t HumidityColumn = 4;
    bool HasHumidityColumn = false;
    std::string lastSourceCell;
};

xl::RangePtr selection(xl::Application& app) {
    return app.Selection()->AsRange();
}

void selectRange(xl::Sheet& sheet, const std::string& first, const std::string& last) {
    sheet.Range(first, last)->Select();
}

void deleteColumn(xl::Application& app, xl::Sheet& sheet, const char* column, bool clearCopyMode) {
    sheet.Columns(column)->Select();
    if (clearCopyMode) {
        app.setCutCopyMode(false);
    }
    selection(app)->Delete(xl::xlShiftToLeft);
}

// Column A ends with the date and time of day combined, as one value per data row; the time
// column goes, and the work columns H and I are empty again.
void combineDateAndTime(xl::Application& app, xl::Sheet& sheet, double headerRow, double points) {
    const double first = headerRow + 1;
    const double last = headerRow + points;
    selectRange(sheet, cellAddress('B', first), cellAddress('B', last));
    selection(app)->setNumberFormat("hh:mm:ss");

    sheet.Range(cellAddress('H', first))->Select();
    app.ActiveCell()->setFormulaR1C1("=RC[-7]+TIMEVALUE(RC[-6])");
    selectRange(sheet, cellAddress('H', first), cellAddress('H', last));
    selection(app)->FillDown();
    app.Calculate();
    app.setCutCopyMode(false);

    // The computed values, without their formulas, move into H.
    selection(app)->Copy();
    sheet.Range(cellAddress('I', first))->Select();
    selection(app)->PasteSpecial(xl::xlPasteValues, xl::xlNone, false, false);
    deleteColumn(app, sheet, "H:H", true);
    selection(app)->setNumberFormat("m/d/yy h:mm:ss");

    selectRange(sheet, cellAddress('H', first), cellAddress('H', last));
    selection(app)->Copy();
    sheet.Range(cellAddress('A', first))->Select();
    sheet.Paste();
    deleteColumn(app, sheet, "B:B", true);
    deleteColumn(app, sheet, "G:G", false);

    selectRange(sheet, cellAddress('A', first), cellAddress('A', last));
    selection(app)->Columns()->AutoFit();
    const std::string row = numberText(headerRow);
    sheet.Range("B" + row + ":E" + row)->Select();
    selection(app)->Columns()->AutoFit();
    sheet.PageSetup()->setPrintTitleRows("$" + row + ":$" + row);
}

LoadColumns findColumns(xl::Sheet& sheet, std::int16_t headerRow, double points) {
    LoadColumns columns;
    if (trimBlanks(cellText(sheet, headerRow, 2)) == "FORCE") {
        columns.lastSourceCell = cellAddress('C', headerRow + points);
        columns.HasForceColumn = true;
        columns.ForceColumn = 2;
        columns.DeflectionColumn = 3;
        columns.TemperatureColumn = 4;
        columns.HumidityColumn = 5;
    } else {
        columns.lastSourceCell = cellAddress('B', headerRow + points);
    }
    columns.HasHumidityColumn =
        trimBlanks(cellText(sheet, headerRow, columns.HumidityColumn)) == "HUMIDITY";
    return columns;
}

void labelColumns(xl::Sheet& sheet, const ReportHeader& header, const LoadColumns& columns) {
    const std::int16_t row = header.HeaderRow;
    if (columns.HasForceColumn) {
        LabelHeaderCell(sheet, row, columns.ForceColumn, header.ForceUnit);
    }
    LabelHeaderCell(sheet, row, columns.DeflectionColumn, header.DeflectionUnit);
    if (columns.HasHumidityColumn) {
        const std::string temperatureUnit =
            UnitFromLine(header.HeaderLines[5], TemperatureUnitPrefix);
        LabelHeaderCell(sheet, row, columns.TemperatureColumn,
                        std::string(DegreeSign) + " " + temperatureUnit);
        LabelHeaderCell(sheet, row, columns.HumidityColumn, "%");
    }
}

void setAxisTitle(xl::Chart& chart, std::int32_t group, const std::string& title) {
    const auto axis = chart.Axes(xl::xlValue, group);
    axis->setHasTitle(true);
    axis->AxisTitle()->Characters()->setText(title);
}

void formatChart(xl::Application& app, const ReportHeader& header, const LoadColumns& columns) {
    const std::shared_ptr<xl::Chart> chart = app.ActiveChart();
    chart->setHasTitle(true);
    chart->ChartTitle()->Characters()->setText("CONSTANT LOAD TEST DATA");
    const auto titleFont = chart->ChartTitle()->Font();
    titleFont->setName("Arial");
    titleFont->setFontStyle("Bold");
    titleFont->setSize(12);
    const auto time = chart->Axes(xl::xlCategory, xl::xlPrimary);
    time->setHasTitle(true);
    time->AxisTitle()->Characters()->setText("Time");

    const std::string deflectionTitle = "Deflection (" + header.DeflectionUnit + ")";
    if (columns.HasForceColumn) {
        setAxisTitle(*chart, xl::xlPrimary, "Force (" + header.ForceUnit + ")");
        chart->SeriesCollection()->Item(2)->setAxisGroup(xl::xlSecondary);
        const auto secondary = chart->Axes(xl::xlValue, xl::xlSecondary);
        secondary->setHasTitle(true);
        secondary->AxisTitle()->setCaption(deflectionTitle);
    } else {
        setAxisTitle(*chart, xl::xlPrimary, deflectionTitle);
    }
    StyleMajorGridlines(app, xl::xlCategory);
    StyleMajorGridlines(app, xl::xlValue);
    AddInfoTextBox(app, header.InfoText, 580, 20, 65, 120, 6);
    chart->PageSetup()->setRightFooter(std::string(ChartFooter));
}

} // namespace

void FormatLoadSheet(ExportContext& ctx, std::int32_t channel, const std::string& dataSheetName) {
    xl::Application& app = ctx.application();
    const xl::SheetPtr active = app.ActiveSheet();
    xl::Sheet& sheet = *active;
    ReportHeader header;
    header.HeaderRow = FindHeaderRow(sheet, "DATE");
    header.PointCount = ReadPointCount(sheet, header.HeaderRow);

    combineDateAndTime(app, sheet, header.HeaderRow, header.PointCount);
    const LoadColumns columns = findColumns(sheet, header.HeaderRow, header.PointCount);
    CollectHeaderLines(sheet, header.HeaderRow, channel, ctx.ChannelInfo, header);
    header.ForceUnit = UnitFromLine(header.HeaderLines[3], ForceUnitPrefix);
    header.DeflectionUnit = UnitFromLine(header.HeaderLines[4], DeflectionUnitPrefix);
    labelColumns(sheet, header, columns);

    const xl::RangePtr source =
        sheet.Range(cellAddress('A', header.HeaderRow), columns.lastSourceCell);
    AddChartSheet(ctx, source, dataSheetName);
    formatChart(app, header, columns);
}

} // namespace kelvor
