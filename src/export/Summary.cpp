#include "export/Summary.h"

#include "Version.h"
#include "export/AlertsOff.h"
#include "export/DataSheet.h"
#include "export/RateResults.h"
#include "export/RateTestReading.h"
#include "export/SummaryFollow.h"
#include "export/SummaryPlot.h"
#include "export/SummaryStatistics.h"
#include "export/SummaryTests.h"

#include <string>
#include <utility>
#include <vector>

namespace kelvor {

namespace {

// The counted tests are listed from this row down.
constexpr std::int32_t FirstTestRow = 11;

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

// Lists the tests on their own rows from `fromRow` down, in sheet order; the notes follow
// below the list after one empty row, so they print on the page of the table (text beside the
// table would run onto a page of its own). A rebuild writes every test from FirstTestRow, a
// followed summary its new tests behind the ones it lists.
void writeTests(xl::Sheet& summary, std::int32_t fromRow, const std::vector<RateTest>& tests,
                const std::vector<std::string>& notes = {}) {
    summary.Activate();
    auto row = fromRow;
    for (const RateTest& test : tests) {
        summary.Cells(row, 1)->setValue(test.name);
        summary.Cells(row, 2)->setValue(test.force);
        summary.Cells(row, 4)->setValue(test.deformation);
        ++row;
    }
    ++row;
    for (const std::string& note : notes) {
        summary.Cells(row++, 1)->setValue(note);
    }
}

// The row of the first test behind the `listed` ones.
std::int32_t rowBehind(std::size_t listed) {
    return FirstTestRow + static_cast<std::int32_t>(listed);
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
    const xl::WorkbookPtr book = app.ActiveWorkbook();
    ctx.Summaries.erase(book->Name());
    const auto follow = book->FollowSummary();
    withAlertsOff(app, [&] {
        if (follow) {
            follow->drop();
        }
        removeSummarySheets(app);
    });
    // Before the Summary sheet is added: every sheet now standing is a candidate.
    const SummaryTests counted = collectSummaryTests(app);
    const RateUnits& units = counted.units;

    keptSheets = app.Sheets()->Count();
    book->Sheets()->Add(app.Sheets()->Item(keptSheets));
    const xl::SheetPtr summary = app.ActiveSheet();
    summary->Activate();
    summary->setName(SummarySheetName);

    writeLabels(app, *summary, units);
    writeTests(*summary, rowBehind(0), counted.tests, counted.notes);
    if (counted.stats.n > 0) {
        writeStatistics(app, *summary, counted.stats);
    }
    buildSummaryPlot(ctx, *summary, counted.tests, units.force, units.deflection);

    SummaryMemo memo;
    memo.token = follow ? follow->mark(keptSheets) : 0;
    memo.keptSheets = keptSheets;
    memo.traceOffset = ctx.SummaryTraceOffset;
    memo.units = units;
    memo.unitCounts = counted.unitCounts;
    memo.stats = counted.stats;
    memo.counted = counted.tests.size();
    memo.notes = counted.notes;
    ctx.Summaries[book->Name()] = memo;
}

// The new sheets behind the ones the memo's summary was made from, read and counted as a
// rebuild would (`added` gets the tests and notes to add). False when they would change more
// than the summary's rows, notes, statistics and plot: other units chosen, a summary sheet
// among them.
bool readNewSheets(xl::Application& app, const SummaryMemo& memo, SummaryTests& added) {
    if (app.Sheets()->Count() < memo.keptSheets) {
        return false;
    }
    SheetReadings read = readRateSheets(app, memo.keptSheets + 1);
    if (read.summarySheet) {
        return false;
    }
    added.units = memo.units;
    added.unitCounts = memo.unitCounts;
    added.stats = memo.stats;
    return countTestsBehind(added, read.tests);
}

// Follows the active workbook's last summary, set aside when the report came, when nothing
// but new sheets came behind the sheets it summarised: their tests are added to the table, the
// statistics and the plot, the rest is kept. The result is the rebuild's, to the byte. False,
// with nothing changed but the sheets set aside dropped, when it must be made again.
bool followSummary(ExportContext& ctx, std::int32_t& keptSheets) {
    xl::Application& app = ctx.application();
    const xl::WorkbookPtr book = app.ActiveWorkbook();
    const auto found = ctx.Summaries.find(book->Name());
    // Without a counted test the plot still holds the series the chart was made with.
    if (found == ctx.Summaries.end() || found->second.counted == 0 ||
        found->second.traceOffset != ctx.SummaryTraceOffset) {
        return false;
    }
    SummaryMemo memo = found->second;
    ctx.Summaries.erase(found);
    SummaryTests added;
    if (!readNewSheets(app, memo, added)) {
        return false;
    }
    const std::vector<RateTest>& newTests = added.tests;
    const auto follow = book->FollowSummary();
    if (!follow) {
        return false;
    }
    // From here on a failure removes what stands behind these sheets, and only that.
    const std::int32_t before = app.Sheets()->Count();
    if (!follow->putBack(memo.token, 3)) {
        return false;
    }
    keptSheets = before;
    const auto sheetAt = [&](std::int32_t offset) {
        return app.Sheets()->Item(keptSheets + offset);
    };
    if (app.Sheets()->Count() != before + 3 || sheetAt(1)->Name() != SummarySheetName ||
        sheetAt(2)->Name() != SummaryPlotSheetName ||
        sheetAt(3)->Name() != SummaryXOffsetSheetName) {
        // The caller removes them and starts again.
        throw xl::HostError(xl::ErrInvalidCall, ProgramTitle,
                            "The summary sheets put back are not the ones set aside.");
    }
    const xl::SheetPtr summary = sheetAt(1);
    const xl::SheetPtr plot = sheetAt(2);
    const xl::SheetPtr offsets = sheetAt(3);

    // The notes move down a row for each new test, and new ones come behind them.
    const std::size_t notesBefore = memo.notes.size();
    memo.notes.insert(memo.notes.end(), added.notes.begin(), added.notes.end());
    const bool notesMove = (!newTests.empty() && notesBefore > 0) || !added.notes.empty();
    writeTests(*summary, rowBehind(memo.counted), newTests,
               notesMove ? memo.notes : std::vector<std::string>{});
    if (!newTests.empty() && newTests.size() <= notesBefore) {
        // The row between the table and the notes held a note until now.
        summary->Cells(rowBehind(memo.counted + newTests.size()), 1)->setValue(xl::Variant{});
    }
    memo.unitCounts = added.unitCounts;
    memo.stats = added.stats;
    writeStatistics(app, *summary, memo.stats);
    extendSummaryPlot(ctx, *summary, *plot->AsChart(), *offsets, newTests, memo.counted);

    memo.counted += newTests.size();
    memo.keptSheets = keptSheets;
    memo.token = follow->mark(keptSheets);
    ctx.Summaries[book->Name()] = memo;
    return true;
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

bool setSummaryAside(xl::Application& app) {
    const xl::WorkbookPtr book = app.ActiveWorkbook();
    const auto follow = book->FollowSummary();
    bool found = false;
    for (std::int16_t p = sheetCounter(app.Sheets()->Count()); p >= 1; --p) {
        const xl::SheetPtr sheet = app.Sheets()->Item(p);
        sheet->Activate();
        if (isSummarySheetName(sheet->Name())) {
            found = true;
            if (follow) {
                follow->setAside(p);
            } else {
                sheet->Delete();
            }
        }
    }
    return found;
}

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

void UpdateSummary(ExportContext& ctx) {
    std::int32_t keptSheets = 0;
    bool followed = false;
    try {
        followed = followSummary(ctx, keptSheets);
    } catch (...) {
        // Whatever stands of the followed summary goes; the rebuild makes it anew.
        if (ctx.ExcelApp) {
            removeUnfinishedSummary(*ctx.ExcelApp, keptSheets);
        }
        ctx.Summaries.clear();
    }
    if (!followed) {
        BuildSummary(ctx);
    }
}

} // namespace kelvor
