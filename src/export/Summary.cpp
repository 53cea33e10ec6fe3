#include "export/Summary.h"

#include "export/AlertsOff.h"
#include "export/CellText.h"
#include "export/DataSheet.h"
#include "export/RateResults.h"
#include "export/ReportHeader.h"
#include "export/SummaryPlot.h"

#include <cmath>
#include <string>

namespace kelvor {

namespace {

struct Statistics {
    double n = 0;
    double sumF = 0;
    double sumF2 = 0;
    double sumD = 0;
    double sumD2 = 0;
    double maxF = 0;
    double maxD = 0;
    double minF = 0;
    double minD = 0;

    // The extremes start from the first counted test: fixed starting values (0 and a
    // "large" force) would report a maximum or minimum no test had once every force lies
    // beyond them.
    void add(double force, double deformation) {
        if (n == 0) {
            maxF = minF = force;
            maxD = minD = deformation;
        }
        n = checkedResult(n + 1);
        sumF = checkedResult(sumF + force);
        sumF2 = checkedResult(sumF2 + checkedResult(force * force));
        sumD = checkedResult(sumD + deformation);
        sumD2 = checkedResult(sumD2 + checkedResult(deformation * deformation));
        // Strictly: among equal forces the first test keeps its deformation.
        if (force > maxF) {
            maxF = force;
            maxD = deformation;
        }
        if (force < minF) {
            minF = force;
            minD = deformation;
        }
    }
};

// Population standard deviation from the running sums; the absolute value keeps a tiny
// negative difference from rounding out of the square root.
double standardDeviation(double n, double sum, double sumOfSquares) {
    const double spread = checkedResult(n * sumOfSquares) - checkedResult(sum * sum);
    return checkedResult(std::sqrt(std::abs(checkedResult(spread)) / (n * n)));
}

struct Units {
    std::string force;
    std::string deflection;
};

// Every constant-rate worksheet before the last sheet, hidden or not, overwrites the units:
// the last one in sheet order wins.
Units scanUnits(xl::Application& app) {
    Units units;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = 1; i <= count - 1; ++i) {
        app.Sheets()->Item(i)->Activate();
        const xl::SheetPtr sheet = app.ActiveSheet();
        if (isRateWorksheet(*sheet)) {
            units.force = UnitFromLine(cellText(*sheet, 3, 1), ForceUnitPrefix);
            units.deflection = UnitFromLine(cellText(*sheet, 4, 1), DeflectionUnitPrefix);
        }
    }
    return units;
}

void setText(xl::Sheet& sheet, const char* address, const std::string& text) {
    sheet.Range(address)->setValue(text);
}

void setNumber(xl::Sheet& sheet, const char* address, double value) {
    sheet.Range(address)->setValue(value);
}

// Right-aligned at the bottom, on one line, as the labels of the table stand.
void formatLabels(xl::Application& app, xl::Sheet& summary, const char* address) {
    summary.Range(address)->Select();
    const xl::RangePtr selection = app.Selection()->AsRange();
    selection->Columns()->AutoFit();
    selection->setHorizontalAlignment(xl::xlRight);
    selection->setVerticalAlignment(xl::xlBottom);
    selection->setWrapText(false);
    selection->setOrientation(0);
    selection->setAddIndent(false);
    selection->setShrinkToFit(false);
    selection->setMergeCells(false);
}

void writeLabels(xl::Application& app, xl::Sheet& summary, const Units& units) {
    setText(summary, "A1", "Kelvor CONSTANT RATE TEST DATA SUMMARY");
    setText(summary, "A3", "Number of Tests:");
    setText(summary, "A5", "Maximum Force:");
    setText(summary, "A6", "Minimum Force:");
    setText(summary, "A7", "Average Force:");
    setText(summary, "A8", "Standard Deviation:");
    setText(summary, "C5", "Deformation:");
    setText(summary, "C6", "Deformation:");
    setText(summary, "C7", "Average Deformation:");
    setText(summary, "C8", "Standard Deviation:");
    setText(summary, "B4", units.force);
    setText(summary, "D4", units.deflection);
    summary.Range("B4")->setHorizontalAlignment(xl::xlRight);
    summary.Range("D4")->setHorizontalAlignment(xl::xlRight);
    summary.Range("B4")->Font()->setFontStyle("Bold");
    summary.Range("D4")->Font()->setFontStyle("Bold");
    formatLabels(app, summary, "A3:A8");
    formatLabels(app, summary, "C5:C8");
}

// Lists each counted test on its own row below the table, in sheet order.
Statistics collectTests(xl::Application& app, xl::Sheet& summary) {
    Statistics stats;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = 1; i <= count - 1; ++i) {
        app.Sheets()->Item(i)->Activate();
        const xl::SheetPtr sheet = app.ActiveSheet();
        if (!isCountedRateSheet(*sheet)) {
            continue;
        }
        const std::int16_t headerRow = findResultHeaderRow(*sheet);
        const std::string name = sheet->Name();
        const double force = cellNumber(*sheet, headerRow - 4, 2);
        const double deformation = cellNumber(*sheet, headerRow - 3, 2);
        stats.add(force, deformation);

        summary.Activate();
        const auto row = static_cast<std::int32_t>(10 + stats.n);
        summary.Cells(row, 1)->setValue(name);
        summary.Cells(row, 2)->setValue(force);
        summary.Cells(row, 4)->setValue(deformation);
    }
    return stats;
}

void writeStatistics(xl::Application& app, xl::Sheet& summary, const Statistics& s) {
    summary.Activate();
    setNumber(summary, "B3", s.n);
    setNumber(summary, "B7", checkedResult(s.sumF / s.n));
    setNumber(summary, "B5", s.maxF);
    setNumber(summary, "B6", s.minF);
    setNumber(summary, "D5", s.maxD);
    setNumber(summary, "D6", s.minD);
    setNumber(summary, "D7", checkedResult(s.sumD / s.n));
    setNumber(summary, "B8", standardDeviation(s.n, s.sumF, s.sumF2));
    setNumber(summary, "D8", standardDeviation(s.n, s.sumD, s.sumD2));
    // Left selected: the summary plot is added from this selection.
    summary.Range("B8,D8")->Select();
    summary.Range("D8")->Activate();
    app.Selection()->AsRange()->setNumberFormat("0.000");
}

} // namespace

void BuildSummary(ExportContext& ctx) {
    xl::Application& app = ctx.application();
    Units units;
    withAlertsOff(app, [&] {
        removeSummarySheets(app);
        units = scanUnits(app);
    });

    const xl::WorkbookPtr book = app.ActiveWorkbook();
    book->Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()));
    const xl::SheetPtr summary = app.ActiveSheet();
    summary->Activate();
    summary->setName(SummarySheetName);

    writeLabels(app, *summary, units);
    const Statistics stats = collectTests(app, *summary);
    if (stats.n > 0) {
        writeStatistics(app, *summary, stats);
    }
    buildSummaryPlot(ctx, *summary, units.force, units.deflection);
}

} // namespace kelvor
