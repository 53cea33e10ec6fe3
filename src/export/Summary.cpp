#include "export/Summary.h"

#include "export/AlertsOff.h"
#include "export/DataSheet.h"
#include "export/RateResults.h"
#include "export/RateTestReading.h"
#include "export/SummaryPlot.h"
#include "export/SummaryStatistics.h"

#include <string>
#include <utility>
#include <vector>

namespace kelvor {

namespace {

// The counted tests are listed from this row down.
constexpr std::int32_t FirstTestRow = 11;

// Every constant-rate worksheet before the last sheet, hidden or not, whose units can be read
// overwrites the units: the last one in sheet order wins.
RateUnits scanUnits(xl::Application& app) {
    RateUnits units;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = 1; i <= count - 1; ++i) {
        app.Sheets()->Item(i)->Activate();
        const xl::SheetPtr sheet = app.ActiveSheet();
        if (isRateWorksheet(*sheet)) {
            if (auto read = readRateUnits(*sheet)) {
                units = std::move(*read);
            }
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

void writeLabels(xl::Application& app, xl::Sheet& summary, const RateUnits& units) {
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

struct CountedTests {
    SummaryStatistics stats;
    std::vector<RateTest> tests;
};

// Lists each counted test on its own row below the table, in sheet order; a sheet that cannot
// be read gets a note instead, below the list after one empty row, so it prints on the page of
// the table (text beside the table would run onto a page of its own).
CountedTests collectTests(xl::Application& app, xl::Sheet& summary) {
    CountedTests counted;
    std::vector<std::string> notes;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = 1; i <= count - 1; ++i) {
        app.Sheets()->Item(i)->Activate();
        const xl::SheetPtr sheet = app.ActiveSheet();
        if (!isCountedRateSheet(*sheet)) {
            continue;
        }
        RateTestReading reading = readRateTest(*sheet, i);
        const RateTest& test = reading.test;
        if (reading.problem.empty() && !counted.stats.add(test.force, test.deformation)) {
            reading.problem = "its results are too large to summarise with the other tests";
        }

        if (!reading.problem.empty()) {
            notes.push_back(test.name + " left out: " + reading.problem);
            continue;
        }
        summary.Activate();
        const auto row = static_cast<std::int32_t>(FirstTestRow - 1 + counted.stats.n);
        summary.Cells(row, 1)->setValue(test.name);
        summary.Cells(row, 2)->setValue(test.force);
        summary.Cells(row, 4)->setValue(test.deformation);
        counted.tests.push_back(std::move(reading.test));
    }
    summary.Activate();
    auto noteRow = FirstTestRow + static_cast<std::int32_t>(counted.stats.n) + 1;
    for (const std::string& note : notes) {
        summary.Cells(noteRow++, 1)->setValue(note);
    }
    return counted;
}

void writeStatistics(xl::Application& app, xl::Sheet& summary, const SummaryStatistics& s) {
    summary.Activate();
    setNumber(summary, "B3", s.n);
    setNumber(summary, "B7", s.averageForce());
    setNumber(summary, "B5", s.maxF);
    setNumber(summary, "B6", s.minF);
    setNumber(summary, "D5", s.maxD);
    setNumber(summary, "D6", s.minD);
    setNumber(summary, "D7", s.averageDeformation());
    setNumber(summary, "B8", s.forceSpread());
    setNumber(summary, "D8", s.deformationSpread());
    // Left selected: the summary plot is added from this selection.
    summary.Range("B8,D8")->Select();
    summary.Range("D8")->Activate();
    app.Selection()->AsRange()->setNumberFormat("0.000");
}

// `keptSheets` is set to the number of sheets in front of the ones this build adds.
void buildSummarySheets(ExportContext& ctx, std::int32_t& keptSheets) {
    xl::Application& app = ctx.application();
    RateUnits units;
    withAlertsOff(app, [&] {
        removeSummarySheets(app);
        units = scanUnits(app);
    });

    const xl::WorkbookPtr book = app.ActiveWorkbook();
    keptSheets = app.Sheets()->Count();
    book->Sheets()->Add(app.Sheets()->Item(keptSheets));
    const xl::SheetPtr summary = app.ActiveSheet();
    summary->Activate();
    summary->setName(SummarySheetName);

    writeLabels(app, *summary, units);
    const CountedTests counted = collectTests(app, *summary);
    if (counted.stats.n > 0) {
        writeStatistics(app, *summary, counted.stats);
    }
    buildSummaryPlot(ctx, *summary, counted.tests, units.force, units.deflection);
}

// Deletes what a failed build added, named or not yet named (every addition stands behind the
// kept sheets), and whatever summary sheet the removal walk had not reached.
void removeUnfinishedSummary(xl::Application& app, std::int32_t keptSheets) {
    try {
        withAlertsOff(app, [&] {
            for (std::int32_t last = app.Sheets()->Count(); keptSheets > 0 && last > keptSheets;
                 --last) {
                app.Sheets()->Item(last)->Delete();
            }
            removeSummarySheets(app);
        });
    } catch (...) {
        // The application refuses even this; the failure of the build is the one to tell.
    }
}

} // namespace

void BuildSummary(ExportContext& ctx) {
    std::int32_t keptSheets = 0;
    try {
        buildSummarySheets(ctx, keptSheets);
    } catch (...) {
        if (ctx.ExcelApp) {
            removeUnfinishedSummary(*ctx.ExcelApp, keptSheets);
        }
        throw;
    }
}

} // namespace kelvor
