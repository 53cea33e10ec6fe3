#include "export/SummaryPlot.h"

#include "export/ChartSheet.h"
#include "export/DataSheet.h"
#include "export/RateResults.h"
#include "export/SpreadsheetCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelvor {

namespace {

constexpr const char* LineFeed = "\n";
constexpr float StatisticsBoxLeft = 475.0F;

// The Summary cells as they are displayed, the units row left out.
std::string statisticsText(xl::Sheet& summary) {
    const auto text = [&](const std::string& address) { return summary.Range(address)->Text(); };
    std::string result = text("A3") + " " + text("B3") + LineFeed;
    for (const char* row : {"5", "6", "7", "8"}) {
        const std::string r(row);
        result += text("A" + r) + " " + text("B" + r) + " " + text("C" + r) + " " + text("D" + r);
        if (r != "8") {
            result += LineFeed;
        }
    }
    return result;
}

// The statistics as the plot's text box shows them.
std::string statisticsBoxText(xl::Sheet& summary, std::size_t counted) {
    std::string text = statisticsText(summary);
    if (counted > MaxPlottedTests) {
        // A reader of the plot must not take it for every test of the table.
        text += std::string(LineFeed) + "Plotted: " + std::to_string(MaxPlottedTests) + " of " +
                std::to_string(counted) + " tests";
    }
    return text;
}

void addStatisticsBox(xl::Application& app, xl::Chart& chart, xl::Sheet& summary,
                      std::size_t counted) {
    chart.Shapes()
        ->AddTextbox(xl::msoTextOrientationHorizontal, StatisticsBoxLeft, 0.0F, 50.0F, 50.0F)
        ->Select();
    const std::string text = statisticsBoxText(summary, counted);
    auto selection = app.Selection()->AsChartSelection();
    selection->Characters(1)->setText(text);
    selection->setAutoScaleFont(false);
    setTextBoxFont(*selection, 7);
    selection->setHorizontalAlignment(xl::xlCenter);
    selection->setVerticalAlignment(xl::xlTop);
    selection->setOrientation(xl::xlHorizontal);
    selection->setAutoSize(true);
    selection->ShapeRange()->Line()->setVisible(xl::msoFalse);
    const auto fill = selection->ShapeRange()->Fill();
    fill->setVisible(xl::msoTrue);
    fill->Solid();
    fill->ForeColor()->setSchemeColor(9);
    fill->setTransparency(0.0);
    selection->setPlacement(xl::xlMoveAndSize);
    selection->setPrintObject(true);
}

void setAxisTitle(xl::Chart& chart, std::int32_t type, const std::string& title) {
    const auto axis = chart.Axes(type, xl::xlPrimary);
    axis->setHasTitle(true);
    axis->AxisTitle()->Characters()->setText(title);
}

void formatChart(xl::Application& app, xl::Chart& chart, xl::Sheet& summary,
                 const std::string& forceUnit, const std::string& deflectionUnit,
                 std::size_t counted) {
    chart.Activate();
    chart.setChartType(xl::xlXYScatterLinesNoMarkers);
    chart.setName(SummaryPlotSheetName);
    chart.setHasTitle(true);
    chart.setHasLegend(false);
    chart.ChartTitle()->Characters()->setText("SUMMARY PLOT: FORCE vs DEFORMATION");
    setAxisTitle(chart, xl::xlCategory, "Deformation (" + deflectionUnit + ")");
    setAxisTitle(chart, xl::xlValue, "Force (" + forceUnit + ")");
    StyleMajorGridlines(app, xl::xlCategory);
    StyleMajorGridlines(app, xl::xlValue);
    formatPlotArea(app, chart);
    addStatisticsBox(app, chart, summary, counted);
    chart.Deselect();
    chart.PageSetup()->setRightFooter(std::string(ChartFooter));
}

// A sheet name for a formula reference: between apostrophes, one inside it doubled, as the
// application reads it back.
std::string quotedSheetName(const std::string& name) {
    std::string quoted = "'";
    for (const char c : name) {
        quoted += c;
        if (c == '\'') {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Plots the k-th counted test, the active sheet: Y its own force cells, X the formulas in
// column k of the offset sheet that add (k - 1) offsets to its deformations.
void plotTest(xl::Application& app, xl::Chart& chart, xl::Sheet& offsets, std::int32_t k,
              const RateTest& test, float traceOffset) {
    const std::string first = std::to_string(test.firstDataRow);
    const std::string last = std::to_string(test.lastDataRow);
    const xl::RangePtr yValues = app.ActiveSheet()->Range("B" + first, "B" + last);

    offsets.Activate();
    const std::string column = columnLetters(k);
    const xl::RangePtr xValues = offsets.Range(column + first, column + last);
    const float shift = static_cast<float>(k - 1) * traceOffset;
    if (!std::isfinite(shift)) {
        throw xl::programError(xl::ErrOverflow);
    }
    xValues->setFormulaR1C1("=" + quotedSheetName(test.name) + "!RC1 + " + offsetText(shift));

    chart.Activate();
    const auto series = chart.SeriesCollection();
    if (k == 1 && series->Count() >= 1) {
        // The series the application made from the Summary selection when the chart was added.
        series->Item(1)->Delete();
    }
    const auto added = series->NewSeries();
    added->setName(test.name);
    added->setValues(yValues);
    added->setXValues(xValues);
    styleSeriesLine(*added->Border());
}

} // namespace

void buildSummaryPlot(ExportContext& ctx, xl::Sheet& summary, const std::vector<RateTest>& tests,
                      const std::string& forceUnit, const std::string& deflectionUnit) {
    xl::Application& app = ctx.application();
    const xl::WorkbookPtr book = app.ActiveWorkbook();
    book->Charts()->Add(app.Sheets()->Item(app.Sheets()->Count()));
    const std::shared_ptr<xl::Chart> chart = app.ActiveChart();
    chart->Move(app.Worksheets()->Item(app.Worksheets()->Count()));

    book->Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()));
    const xl::SheetPtr offsets = app.ActiveSheet();
    offsets->setName(SummaryXOffsetSheetName);

    formatChart(app, *chart, summary, forceUnit, deflectionUnit, tests.size());

    // The sheets are walked in order as the Summary sheet walked them; its counted tests
    // stand at the same positions still, the new sheets being behind them. Tests past the
    // series limit get no offset column either: nothing would read it.
    const std::size_t plotted = std::min(tests.size(), MaxPlottedTests);
    std::int32_t k = 0;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = 1; i <= count - 1; ++i) {
        app.Sheets()->Item(i)->Activate();
        if (static_cast<std::size_t>(k) < plotted && tests[k].sheetIndex == i) {
            plotTest(app, *chart, *offsets, k + 1, tests[k], ctx.SummaryTraceOffset);
            ++k;
        }
    }
    offsets->setVisible(xl::xlSheetHidden);
}

void extendSummaryPlot(ExportContext& ctx, xl::Sheet& summary, xl::Chart& chart, xl::Sheet& offsets,
                       const std::vector<RateTest>& newTests, std::size_t countedBefore) {
    xl::Application& app = ctx.application();
    const std::size_t counted = countedBefore + newTests.size();
    chart.Activate();
    chart.Shapes()->Item(1)->Select();
    const auto box = app.Selection()->AsChartSelection();
    box->Characters(1)->setText(statisticsBoxText(summary, counted));
    // Back where it was added: a wider text moved it left to stay on the chart, and a new box
    // would stand at the place added again.
    box->setLeft(StatisticsBoxLeft);
    chart.Deselect();
    for (std::size_t j = 0; j < newTests.size() && countedBefore + j < MaxPlottedTests; ++j) {
        app.Sheets()->Item(newTests[j].sheetIndex)->Activate();
        plotTest(app, chart, offsets, static_cast<std::int32_t>(countedBefore + j + 1), newTests[j],
                 ctx.SummaryTraceOffset);
    }
}

std::string offsetText(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    std::string digits = value == 0.0F ? "0" : buffer; // a negative zero too
    const bool negative = digits.front() == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    if (digits.starts_with("0.")) {
        digits.erase(0, 1);
    }
    return (negative ? "-" : " ") + digits;
}

std::string columnLetters(std::int32_t column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    }
    return letters;
}

} // namespace kelvor
