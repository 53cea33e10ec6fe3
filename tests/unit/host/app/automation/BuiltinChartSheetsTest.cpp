#include "BuiltinChartFixture.h"

#include "host/model/Workbook.h"

namespace kelvor {
namespace {

std::vector<std::string> sheetNames(xl::Application& app) {
    std::vector<std::string> names;
    const auto sheets = app.Sheets();
    for (int i = 1; i <= sheets->Count(); ++i) {
        names.push_back(sheets->Item(i)->Name());
    }
    return names;
}

using BuiltinChartSheetsTest = ChartTest;

TEST_F(BuiltinChartSheetsTest, AddedChartStandsBehindAfterAndBecomesTheActiveChart) {
    app.Sheets()->Add(data); // Sheet2 behind Data 1
    auto charts = app.ActiveWorkbook()->Charts();
    EXPECT_EQ(charts->Count(), 0);
    const auto chart = charts->Add(app.Sheets()->Item(1));
    EXPECT_EQ(chart->Name(), "Chart1");
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Chart1", "Sheet2"}));
    EXPECT_EQ(app.ActiveSheet()->Name(), "Chart1");
    EXPECT_EQ(app.ActiveSheet()->Type(), xl::xlChart);
    EXPECT_EQ(app.ActiveChart()->Name(), "Chart1");
    EXPECT_EQ(charts->Count(), 1);
    EXPECT_EQ(app.Worksheets()->Count(), 2);

    // Without `after` it goes in front of the active sheet; names never repeat.
    app.Sheets()->Item(3)->Activate();
    charts->Add(nullptr);
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Chart1", "Chart2", "Sheet2"}));
    app.ActiveChart()->setName("Chart3");
    charts->Add(nullptr);
    EXPECT_EQ(app.ActiveChart()->Name(), "Chart4");
}

TEST_F(BuiltinChartSheetsTest, NewChartPlotsTheNumbersSelectedOnTheSheetActiveBefore) {
    data->Range("B17,B19")->Select();
    app.ActiveWorkbook()->Charts()->Add(data);
    const auto& chart = chartModel("Chart1");
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].valuesRef, "('Data 1'!$B$17,'Data 1'!$B$19)");
    EXPECT_TRUE(chart.series[0].xValuesRef.empty());
    EXPECT_EQ(app.ActiveChart()->SeriesCollection()->Count(), 1);

    // Text only, or a chart sheet active: no series.
    data->Activate();
    data->Range("A1:A15")->Select();
    app.ActiveWorkbook()->Charts()->Add(data);
    EXPECT_EQ(app.ActiveChart()->SeriesCollection()->Count(), 0);
    app.ActiveWorkbook()->Charts()->Add(data); // Chart2 was active
    EXPECT_EQ(app.ActiveChart()->SeriesCollection()->Count(), 0);
}

TEST_F(BuiltinChartSheetsTest, MovePutsTheChartDirectlyBehindTheGivenSheet) {
    app.Sheets()->Add(data);
    app.Sheets()->Add(app.Sheets()->Item(2)); // Data 1, Sheet2, Sheet3
    app.ActiveWorkbook()->Charts()->Add(app.Sheets()->Item(1));
    const auto chart = app.ActiveChart();
    chart->Move(app.Sheets()->Item(4)); // to the very end
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Sheet2", "Sheet3", "Chart1"}));
    chart->Move(data); // back to the front
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Chart1", "Sheet2", "Sheet3"}));
    chart->Move(app.Sheets()->Item(2)); // behind itself: stays
    EXPECT_EQ(app.Sheets()->Item(2)->Name(), "Chart1");
    EXPECT_EQ(app.ActiveChart()->Name(), "Chart1"); // still the active one
    EXPECT_EQ(errorOf([&] { chart->Move(nullptr); }), 1004);
}

TEST_F(BuiltinChartSheetsTest, ANameTheWorkbookHasIsRefusedWithoutRegardToCase) {
    const auto chart = addDataChart();
    chart->setName("Data 1 Plot");
    EXPECT_EQ(app.ActiveSheet()->Name(), "Data 1 Plot");
    app.ActiveWorkbook()->Charts()->Add(nullptr);
    EXPECT_EQ(errorOf([&] { app.ActiveChart()->setName("DATA 1 plot"); }), 1004);
    EXPECT_EQ(errorOf([&] { app.ActiveChart()->setName("data 1"); }), 1004);
    EXPECT_EQ(errorOf([&] { app.ActiveChart()->setName("Bad:Name"); }), 1004);
    EXPECT_EQ(app.ActiveChart()->Name(), "Chart2");
    chart->setName("DATA 1 PLOT"); // its own name in other case
    EXPECT_EQ(chart->Name(), "DATA 1 PLOT");
}

TEST_F(BuiltinChartSheetsTest, WorksheetMembersFailOnAChartSheetAndChartMembersOnAWorksheet) {
    addDataChart();
    const auto sheet = app.ActiveSheet();
    EXPECT_EQ(sheet->Type(), xl::xlChart);
    EXPECT_EQ(errorOf([&] { sheet->Range("A1"); }), 438);
    EXPECT_EQ(errorOf([&] { sheet->Cells(1, 1); }), 438);
    EXPECT_EQ(errorOf([&] { sheet->Columns("A:A"); }), 438);
    EXPECT_EQ(errorOf([&] { sheet->Paste(); }), 438);
    EXPECT_EQ(errorOf([&] { app.Selection()->AsRange(); }), 438);
    EXPECT_EQ(errorOf([&] { app.ActiveCell(); }), 91);
    EXPECT_EQ(sheet->AsChart()->Name(), "Chart1");
    sheet->PageSetup()->setRightFooter("File: &F  Sheet:&A");

    data->Activate();
    EXPECT_EQ(data->Type(), xl::xlWorksheet);
    EXPECT_EQ(errorOf([&] { app.ActiveChart(); }), 91);
    EXPECT_EQ(errorOf([&] { data->AsChart(); }), 438);
    EXPECT_EQ(errorOf([&] { app.Selection()->AsChartSelection(); }), 438);
}

TEST_F(BuiltinChartSheetsTest, HandlesOfADeletedChartFail) {
    const auto chart = addDataChart();
    const auto series = chart->SeriesCollection()->Item(1);
    app.ActiveSheet()->Delete();
    EXPECT_NE(errorOf([&] { chart->Name(); }), 0);
    EXPECT_NE(errorOf([&] { chart->setHasTitle(true); }), 0);
    EXPECT_NE(errorOf([&] { series->setName("x"); }), 0);
}

TEST_F(BuiltinChartSheetsTest, OnlyScatterChartTypesAreTaken) {
    const auto chart = addDataChart();
    EXPECT_EQ(errorOf([&] { chart->setChartType(51); }), 1004); // columns
    EXPECT_EQ(chartModel("Chart1").chartType, xl::xlXYScatterLinesNoMarkers);
    chart->setChartType(74);
    EXPECT_EQ(chartModel("Chart1").chartType, 74);
}

TEST_F(BuiltinChartSheetsTest, HiddenWorksheetIsSkippedWhenTheActiveSheetGoesAway) {
    app.Sheets()->Add(data)->setName("Summary XOffset");
    app.ActiveSheet()->setVisible(xl::xlSheetHidden);
    EXPECT_EQ(app.ActiveSheet()->Name(), "Data 1");
    EXPECT_EQ(app.Sheets()->Item(2)->Visible(), xl::xlSheetHidden);
    EXPECT_TRUE(app.workbookModel(1).sheet(1).hidden());
}

} // namespace
} // namespace kelvor
