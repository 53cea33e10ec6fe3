#include "ChartExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvor::test {
namespace {

// A series reference without the '=' the model may keep in front.
std::string reference(const std::string& ref) {
    return ref.starts_with('=') ? ref.substr(1) : ref;
}

void expectStyledGridlines(const ChartAxis& axis) {
    EXPECT_TRUE(axis.hasMajorGridlines);
    EXPECT_FALSE(axis.hasMinorGridlines);
    EXPECT_EQ(axis.majorGridlines, (Border{50, 1, -4118}));
}

class RateSheetTest : public ChartExportFixture {};

TEST_F(RateSheetTest, SampleSheetIsLaidOutCellByCell) {
    EXPECT_EQ(exportReport(sampleReport("rate-paper-core-n-mm-150.txt")), "");
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const std::string s = "Data 1";

    EXPECT_EQ(text(s, 1, 1), "CONSTANT RATE TEST DATA");
    EXPECT_EQ(text(s, 3, 1), "Force units in N");
    EXPECT_EQ(text(s, 4, 1), "Deflection units in mm");
    // Label/value lines split at their colons; one with three colons spreads to column D.
    EXPECT_EQ(text(s, 5, 1), "Date");
    EXPECT_EQ(text(s, 6, 1), "Time");
    EXPECT_EQ(number(s, 6, 2), 14.0);
    EXPECT_EQ(number(s, 6, 3), 5.0);
    EXPECT_EQ(number(s, 6, 4), 33.0);
    EXPECT_EQ(text(s, 7, 1), "Sample ID");
    EXPECT_EQ(text(s, 8, 1), "Preload 20 N"); // no colon: whole
    EXPECT_TRUE(empty(s, 8, 2));
    EXPECT_EQ(text(s, 9, 1), "Test Speed");
    EXPECT_EQ(text(s, 10, 1), "Conditioning");
    EXPECT_NE(text(s, 10, 2).find("23 \xC2\xB0"
                                  "C / 50 %RH"),
              std::string::npos);
    EXPECT_EQ(text(s, 11, 1), "Peak Force");
    EXPECT_EQ(number(s, 11, 2), 3421.8);
    EXPECT_EQ(text(s, 12, 1), "Deformation at Peak");
    EXPECT_EQ(number(s, 12, 2), 4.23);
    EXPECT_EQ(text(s, 13, 1), "Flat crush between platens");
    EXPECT_EQ(text(s, 14, 1), "150 POINTS");

    EXPECT_EQ(text(s, 15, 1), "DEFLECTION\n(mm)");
    EXPECT_EQ(text(s, 15, 2), "FORCE\n(N)");
    EXPECT_EQ(style(s, 15, 1).horizontal, HorizontalAlignment::Right);
    EXPECT_EQ(style(s, 15, 2).horizontal, HorizontalAlignment::Right);
    EXPECT_EQ(number(s, 16, 1), 0.045);
    EXPECT_EQ(number(s, 16, 2), 34.4);
    EXPECT_EQ(number(s, 165, 1), 6.75);
    EXPECT_EQ(number(s, 165, 2), 1523.5);
    EXPECT_TRUE(empty(s, 166, 1));

    const Worksheet& sheet = worksheet(s);
    EXPECT_EQ(sheet.pageSetup().printTitleRows, "$15:$15");
    EXPECT_EQ(sheet.pageSetup().centerHeader, "File: &F  Sheet:&A");
    EXPECT_EQ(sheet.pageSetup().centerFooter, "Page &P of &N");
    for (std::uint32_t column : {1U, 2U}) {
        ASSERT_NE(sheet.columnFormat(column), nullptr);
        EXPECT_TRUE(sheet.columnFormat(column)->autoFitted);
    }
    // Column A fits its longest label of rows 9 to 12 ("Deformation at Peak"), wider than the
    // header cell's lines.
    EXPECT_GT(sheet.columnFormat(1)->width.value_or(0), sheet.columnFormat(2)->width.value_or(0));
}

TEST_F(RateSheetTest, ChartSheetPlotsForceAgainstDeformation) {
    exportReport(sampleReport("rate-paper-core-n-mm-150.txt"));
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot", "Summary", "Summary Plot",
                                                 "Summary XOffset"}));
    // The next-to-last sheet ends active.
    EXPECT_EQ(activeName(), "Summary Plot");

    const Chart& plot = chart("Data 1 Plot");
    EXPECT_EQ(plot.chartType, 75);
    EXPECT_TRUE(plot.hasTitle);
    EXPECT_EQ(plot.title.text, "CONSTANT RATE TEST DATA: FORCE vs DEFORMATION");
    const ChartAxis& x = plot.axis(AxisType::Category, AxisGroup::Primary);
    const ChartAxis& y = plot.axis(AxisType::Value, AxisGroup::Primary);
    EXPECT_TRUE(x.hasTitle);
    EXPECT_EQ(x.title.text, "Deformation (mm)");
    EXPECT_TRUE(y.hasTitle);
    EXPECT_EQ(y.title.text, "Force (N)");
    expectStyledGridlines(x);
    expectStyledGridlines(y);
    EXPECT_FALSE(plot.hasLegend);
    EXPECT_EQ(plot.plotAreaBorder.weight, 2);
    EXPECT_EQ(plot.plotAreaBorder.lineStyle, -4105);
    EXPECT_EQ(plot.plotAreaInteriorColorIndex, -4142);

    ASSERT_EQ(plot.series.size(), 1U);
    const ChartSeries& series = plot.series.at(0);
    EXPECT_EQ(reference(series.xValuesRef), "'Data 1'!$A$16:$A$165");
    EXPECT_EQ(reference(series.valuesRef), "'Data 1'!$B$16:$B$165");
    ASSERT_EQ(series.values.size(), 150U);
    EXPECT_EQ(series.xValues.front(), 0.045);
    EXPECT_EQ(series.values.back(), 1523.5);
    EXPECT_EQ(series.axisGroup, 1);
    EXPECT_EQ(series.border, (Border{5, 2, 1}));

    ASSERT_EQ(plot.textBoxes.size(), 1U);
    const TextBox& box = plot.textBoxes[0];
    EXPECT_EQ(box.left, 475.0);
    EXPECT_EQ(box.top, 250.0);
    // The channel's description, then lines 3 to 12 whole, each on a line of its own.
    EXPECT_EQ(box.text, "Line 2 crusher\n"
                        "Force units in N\n"
                        "Deflection units in mm\n"
                        "Date: 03/21/2023\n"
                        "Time: 14:05:33\n"
                        "Sample ID: CORE-76-A\n"
                        "Preload 20 N\n"
                        "Test Speed: 12.5 mm/min\n"
                        "Conditioning: 23 \xC2\xB0"
                        "C / 50 %RH\n"
                        "Peak Force: 3421.8\n"
                        "Deformation at Peak: 4.230\n");
    EXPECT_EQ(box.fontSize, 8.0);
    EXPECT_TRUE(box.autoSize);
    EXPECT_TRUE(box.lineVisible);
    EXPECT_EQ(chartPage("Data 1 Plot").rightFooter, "File: &F  Sheet:&A");
}

TEST_F(RateSheetTest, EachReportGetsItsChartSheetBehindItsDataSheet) {
    exportReport(sampleReport("rate-shipper-lbf-in-50.txt"));
    // The report's line 14 reads 52 points: the chart takes 52 rows.
    EXPECT_EQ(reference(chart("Data 1 Plot").series.at(0).valuesRef), "'Data 1'!$B$16:$B$67");
    exportReport(sampleReport("rate-bottle-topload-kgf-mm-300.txt"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot", "Data 2", "Data 2 Plot",
                                                 "Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_EQ(text("Data 2", 11, 1), "Top Load");
    EXPECT_EQ(text("Data 2", 15, 2), "FORCE\n(kgf)");
    EXPECT_EQ(reference(chart("Data 2 Plot").series.at(0).valuesRef), "'Data 2'!$B$16:$B$313");
    EXPECT_EQ(chart("Data 2 Plot").axis(AxisType::Value, AxisGroup::Primary).title.text,
              "Force (kgf)");
}

TEST_F(RateSheetTest, ChartNameAlreadyTakenStopsBeforeTheSummary) {
    exportReport(rateReport("400", "0.25"));
    // Whatever the user called "Data 2 Plot" before the second report came.
    editableBook().addChartSheet("Data 2 Plot");
    exportReport(rateReport("380", "0.22"));

    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].title, "Error");
    EXPECT_TRUE(prompts.shown[0].text.starts_with("Error #  1004 was generated by "));
    // The data sheet is finished and the chart keeps the application's name; the summary
    // the report's own sheet took away is built again behind it, with both tests.
    EXPECT_EQ(text("Data 2", 15, 1), "DEFLECTION\n(in)");
    const auto sheets = names();
    ASSERT_EQ(sheets.size(), 8U) << ::testing::PrintToString(sheets);
    EXPECT_TRUE(sheets.at(4).starts_with("Chart")) << sheets.at(4);
    EXPECT_EQ(chart(sheets.at(4)).title.text, "");
    EXPECT_EQ(std::vector<std::string>(sheets.begin() + 5, sheets.end()),
              (std::vector<std::string>{"Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_EQ(number("Summary", 3, 2), 2.0);
    EXPECT_EQ(activeName(), sheets.at(4));
}

TEST_F(RateSheetTest, PointCountThatIsNotWholeStopsWithTheSheetFinished) {
    exportReport(rateReport("400", "0.25", {"0.05,40.5", "0.10,88.0"}, "2.5 POINTS"));
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_TRUE(prompts.shown[0].text.starts_with("Error #  1004 was generated by "));
    EXPECT_EQ(text("Data 1", 15, 2), "FORCE\n(lbf)");
    EXPECT_EQ(worksheet("Data 1").pageSetup().printTitleRows, "$15:$15");
    EXPECT_EQ(text("Data 1", 11, 1), "Peak Force");
    EXPECT_EQ(names(), std::vector<std::string>{"Data 1"});
    // The workbook still reached its file.
    EXPECT_FALSE(test::readPackage(builtin().workbookFile(index)).empty());
}

TEST_F(RateSheetTest, MissingHeaderRowOverflowsWithoutHanging) {
    std::string report = rateReport("400", "0.25");
    report.replace(report.find("DEFLECTION,FORCE"), 10, "DEFLECTIN");
    exportReport(report);
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_TRUE(prompts.shown[0].text.starts_with("Error #  6 was generated by KelvorReader2\r"
                                                  "Overflow\rChannel 2 (Line 2 crusher)\r"));
    EXPECT_EQ(names(), std::vector<std::string>{"Data 1"});
    EXPECT_TRUE(builtin().screenUpdating());
}

} // namespace
} // namespace kelvor::test
