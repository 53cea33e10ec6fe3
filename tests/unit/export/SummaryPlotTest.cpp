#include "ChartExportFixture.h"

#include "XlsxPackage.h"
#include "export/SummaryPlot.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

std::string reference(const std::string& ref) {
    return ref.starts_with('=') ? ref.substr(1) : ref;
}

class SummaryPlotTest : public ChartExportFixture {
protected:
    const Cell* offsetCell(std::uint32_t row, std::uint32_t column) {
        return worksheet("Summary XOffset").cell(row, column);
    }
    double offsetValue(std::uint32_t row, std::uint32_t column) {
        const Cell* cell = offsetCell(row, column);
        const auto held = cell != nullptr ? cell->number() : std::nullopt;
        EXPECT_TRUE(held.has_value()) << "R" << row << "C" << column;
        return held.value_or(-1.0);
    }
    std::string formula(std::uint32_t row, std::uint32_t column) {
        const Cell* cell = offsetCell(row, column);
        return cell != nullptr ? cell->formula : "<empty>";
    }
};

TEST(SummaryPlotTestOffsetText, IsWrittenAsTheProgramWritesNumbersForFormulas) {
    EXPECT_EQ(offsetText(0.0F), " 0");
    EXPECT_EQ(offsetText(-0.0F), " 0");
    EXPECT_EQ(offsetText(0.5F), " .5");
    EXPECT_EQ(offsetText(1.0F), " 1");
    EXPECT_EQ(offsetText(1.5F), " 1.5");
    EXPECT_EQ(offsetText(-0.5F), "-.5");
    EXPECT_EQ(offsetText(-2.25F), "-2.25");
    // Single precision: 3 x 0.1 is 0.3 to seven digits.
    EXPECT_EQ(offsetText(3.0F * 0.1F), " .3");
    EXPECT_EQ(offsetText(1234567.0F), " 1234567");
    EXPECT_EQ(offsetText(12345678.0F), " 1.234568E+07");
    EXPECT_EQ(offsetText(0.0001F), " .0001");
    EXPECT_EQ(offsetText(0.00001F), " 1E-05");
}

TEST(SummaryPlotTestOffsetText, ColumnLettersRunPastZ) {
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(702), "ZZ");
    EXPECT_EQ(columnLetters(703), "AAA");
    EXPECT_EQ(columnLetters(16384), "XFD");
}

TEST_F(SummaryPlotTest, EachCountedTestIsPlottedWithItsShift) {
    exportFiveRateTests();
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const auto sheets = names();
    ASSERT_EQ(sheets.size(), 15U);
    EXPECT_EQ(std::vector<std::string>(sheets.end() - 3, sheets.end()),
              (std::vector<std::string>{"Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_TRUE(book().sheet(14).hidden());
    EXPECT_FALSE(book().sheet(13).hidden());
    EXPECT_EQ(activeName(), "Summary Plot");

    const std::vector<std::string> tests = {"Data 1", "Data 3", "Data 4", "Data 5", "Data 6"};
    const std::vector<std::string> shifts = {" 0", " .5", " 1", " 1.5", " 2"};
    const std::vector<int> curves = {1, 3, 4, 5, 6};
    const Chart& plot = chart("Summary Plot");
    ASSERT_EQ(plot.series.size(), 5U);
    for (std::uint32_t k = 1; k <= 5; ++k) {
        const ChartSeries& series = plot.series.at(k - 1);
        const std::string& test = tests[k - 1];
        EXPECT_EQ(series.name, test);
        EXPECT_EQ(reference(series.valuesRef), "'" + test + "'!$B$16:$B$19");
        const std::string column(1, static_cast<char>('A' + k - 1));
        EXPECT_EQ(reference(series.xValuesRef),
                  "'Summary XOffset'!$" + column + "$16:$" + column + "$19");
        EXPECT_EQ(series.border, (Border{5, 2, 1}));
        const double shift = 0.5 * (k - 1);
        ASSERT_EQ(series.xValues.size(), 4U);
        EXPECT_DOUBLE_EQ(series.xValues.at(2), 0.15 + shift);
        EXPECT_EQ(series.values.at(2), 30.0 * curves[k - 1]);
        for (std::uint32_t row = 16; row <= 19; ++row) {
            EXPECT_EQ(formula(row, k), "='" + test + "'!RC1 + " + shifts[k - 1]);
            const double deformation = 0.05 * (row - 15);
            EXPECT_NEAR(offsetValue(row, k), deformation + shift, 1e-12);
        }
        EXPECT_EQ(offsetCell(15, k), nullptr);
        EXPECT_EQ(offsetCell(20, k), nullptr);
    }
    // The second counted test stands on Data 3, behind the constant-load sheet.
    EXPECT_EQ(formula(16, 2), "='Data 3'!RC1 +  .5");
    EXPECT_EQ(offsetCell(16, 6), nullptr);
}

TEST_F(SummaryPlotTest, ChartCarriesTitlesGridlinesAndTheStatistics) {
    exportFiveRateTests();
    const Chart& plot = chart("Summary Plot");
    EXPECT_EQ(plot.chartType, 75);
    EXPECT_EQ(plot.title.text, "SUMMARY PLOT: FORCE vs DEFORMATION");
    EXPECT_FALSE(plot.hasLegend);
    EXPECT_EQ(plot.axis(AxisType::Category, AxisGroup::Primary).title.text, "Deformation (in)");
    EXPECT_EQ(plot.axis(AxisType::Value, AxisGroup::Primary).title.text, "Force (lbf)");
    EXPECT_EQ(plot.axis(AxisType::Value, AxisGroup::Primary).majorGridlines.lineStyle, -4118);
    EXPECT_EQ(plot.plotAreaInteriorColorIndex, -4142);
    EXPECT_EQ(chartPage("Summary Plot").rightFooter, "File: &F  Sheet:&A");

    ASSERT_EQ(plot.textBoxes.size(), 1U);
    const TextBox& box = plot.textBoxes[0];
    EXPECT_EQ(box.left, 475.0);
    EXPECT_EQ(box.top, 0.0);
    EXPECT_EQ(box.fontSize, 7.0);
    EXPECT_TRUE(box.autoSize);
    EXPECT_FALSE(box.lineVisible);
    EXPECT_EQ(box.text, "Number of Tests: 5\n"
                        "Maximum Force: 460 Deformation: 0.31\n"
                        "Minimum Force: 380 Deformation: 0.22\n"
                        "Average Force: 410 Average Deformation: 0.266\n"
                        "Standard Deviation: 30.984 Standard Deviation: 0.030");
}

TEST_F(SummaryPlotTest, TraceOffsetMayBeZeroOrNegative) {
    exportFiveRateTests();
    traceOffset = -0.5F;
    rebuildSummary();
    EXPECT_EQ(formula(16, 1), "='Data 1'!RC1 +  0");
    EXPECT_EQ(formula(16, 2), "='Data 3'!RC1 + -.5");
    EXPECT_EQ(formula(19, 5), "='Data 6'!RC1 + -2");
    EXPECT_NEAR(offsetValue(16, 2), 0.05 - 0.5, 1e-12);
    ASSERT_EQ(chart("Summary Plot").series.size(), 5U);
    EXPECT_NEAR(chart("Summary Plot").series.at(4).xValues.at(3), 0.2 - 2.0, 1e-12);

    traceOffset = 0.0F;
    rebuildSummary();
    EXPECT_EQ(formula(17, 5), "='Data 6'!RC1 +  0");
    ASSERT_EQ(chart("Summary Plot").series.size(), 5U);
    EXPECT_DOUBLE_EQ(chart("Summary Plot").series.at(4).xValues.at(1), 0.1);
}

TEST_F(SummaryPlotTest, ColumnsStartAtEachTestsOwnDataRows) {
    exportReport(rateReport("400", "0.25"));
    // Results in column B four and three rows above the header, where the summary reads them.
    std::vector<std::string> lines = rateReportLines(18);
    lines.at(13) = "Peak Force,120.4";
    lines.at(14) = "Deformation at Peak,0.200";
    exportReport(reportText(lines));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(formula(16, 1), "='Data 1'!RC1 +  0");
    EXPECT_EQ(offsetCell(16, 2), nullptr);
    EXPECT_EQ(formula(19, 2), "='Data 2'!RC1 +  .5");
    EXPECT_EQ(formula(21, 2), "='Data 2'!RC1 +  .5");
    EXPECT_EQ(offsetCell(22, 2), nullptr);
    EXPECT_EQ(reference(chart("Summary Plot").series.at(1).valuesRef), "'Data 2'!$B$19:$B$21");
}

TEST_F(SummaryPlotTest, PointCountBelowOneTurnsTheRangesAround) {
    exportReport(rateReport("400", "0.25", {"0.05,40.5", "0.10,88.0"}, "0 POINTS"));
    exportReport(rateReport("380", "0.22", {"0.05,40.5", "0.10,88.0"}, "-2 POINTS"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    // From row R + N up to row R + 1, R being 15.
    EXPECT_EQ(offsetCell(14, 1), nullptr);
    EXPECT_EQ(formula(15, 1), "='Data 1'!RC1 +  0");
    EXPECT_EQ(formula(16, 1), "='Data 1'!RC1 +  0");
    EXPECT_EQ(formula(13, 2), "='Data 2'!RC1 +  .5");
    EXPECT_EQ(formula(16, 2), "='Data 2'!RC1 +  .5");
    EXPECT_EQ(offsetCell(17, 2), nullptr);
    EXPECT_EQ(chart("Summary Plot").series.size(), 2U);
}

TEST_F(SummaryPlotTest, ApostropheInATestSheetNameIsDoubledInItsFormula) {
    exportReport(rateReport("400", "0.25"));
    ctx.application().Sheets()->Item(1)->setName("O'Neil");
    exportReport(rateReport("380", "0.22"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(formula(16, 1), "='O''Neil'!RC1 +  0");
    EXPECT_DOUBLE_EQ(offsetValue(17, 1), 0.10);
    const Chart& plot = chart("Summary Plot");
    ASSERT_EQ(plot.series.size(), 2U);
    EXPECT_EQ(plot.series.at(0).name, "O'Neil");
    EXPECT_EQ(plot.series.at(0).values.at(1), 88.0);
    EXPECT_TRUE(book().sheet(book().indexOf("Summary XOffset").value()).hidden());
}

TEST_F(SummaryPlotTest, PlotsTheFirst255TestsAndSaysSoFromThe256thOn) {
    for (int t = 1; t <= 255; ++t) {
        exportReport(rateReport(std::to_string(300 + t), "0.25"));
    }
    ASSERT_EQ(chart("Summary Plot").series.size(), 255U);
    EXPECT_EQ(chart("Summary Plot").textBoxes.at(0).text.find("Plotted"), std::string::npos);

    exportReport(rateReport("900", "0.25"));
    exportReport(rateReport("100", "0.25"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const Chart& plot = chart("Summary Plot");
    ASSERT_EQ(plot.series.size(), 255U);
    EXPECT_EQ(plot.series.back().name, "Data 255");
    const std::string& box = plot.textBoxes.at(0).text;
    EXPECT_TRUE(box.starts_with("Number of Tests: 257\n")) << box;
    EXPECT_TRUE(box.ends_with("\nPlotted: 255 of 257 tests")) << box;
    // The table and its statistics still count every test.
    EXPECT_EQ(text("Summary", 267, 1), "Data 257");
    EXPECT_EQ(number("Summary", 5, 2), 900.0);
    EXPECT_EQ(number("Summary", 6, 2), 100.0);
    EXPECT_EQ(formula(16, 255), "='Data 255'!RC1 +  127");
    EXPECT_EQ(offsetCell(16, 256), nullptr);

    // The file holds the 255 series and stays readable.
    const auto package = test::readPackage(builtin().workbookFile(index));
    std::size_t charts = 0;
    for (const auto& [name, entry] : package) {
        if (!name.starts_with("xl/charts/chart")) {
            continue;
        }
        EXPECT_EQ(test::xmlError(entry.content), "") << name;
        std::size_t series = 0;
        for (auto at = entry.content.find("<c:ser>"); at != std::string::npos;
             at = entry.content.find("<c:ser>", at + 1)) {
            ++series;
        }
        EXPECT_LE(series, 255U) << name;
        charts += series == 255 ? 1 : 0;
    }
    EXPECT_EQ(charts, 1U);
}

} // namespace
} // namespace kelvor::test
