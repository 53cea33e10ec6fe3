#include "BuiltinChartFixture.h"

#include "host/model/Workbook.h"

#include <cmath>

namespace kelvor {
namespace {

using BuiltinChartSeriesTest = ChartTest;

TEST_F(BuiltinChartSeriesTest, SourceWithoutHeaderRowTakesXFromTheFirstColumn) {
    addDataChart();
    const auto& chart = chartModel("Chart1");
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].xValuesRef, "'Data 1'!$A$16:$A$20");
    EXPECT_EQ(chart.series[0].valuesRef, "'Data 1'!$B$16:$B$20");
    EXPECT_EQ(chart.series[0].name, "");
}

TEST_F(BuiltinChartSeriesTest, HeaderRowNamesTheSeriesAndDataStartBehindIt) {
    data->Range("A15")->setValue(std::string("DATE"));
    data->Range("C15")->setValue(std::string("DEFLECTION\n(in)"));
    for (int row = 16; row <= 20; ++row) {
        data->Cells(row, 3)->setValue(0.5);
    }
    const auto chart = addDataChart();
    chart->SetSourceData(data->Range("A15", "C20"), xl::xlColumns);
    const auto& model = chartModel("Chart1");
    ASSERT_EQ(model.series.size(), 2u);
    EXPECT_EQ(model.series[0].name, "FORCE\n(lbf)");
    EXPECT_EQ(model.series[0].xValuesRef, "'Data 1'!$A$16:$A$20");
    EXPECT_EQ(model.series[0].valuesRef, "'Data 1'!$B$16:$B$20");
    EXPECT_EQ(model.series[1].name, "DEFLECTION\n(in)");
    EXPECT_EQ(model.series[1].valuesRef, "'Data 1'!$C$16:$C$20");

    // By rows: the first row gives X; a number in the first column names nothing.
    chart->SetSourceData(data->Range("A16", "C17"), 1);
    ASSERT_EQ(model.series.size(), 1u);
    EXPECT_EQ(model.series[0].xValuesRef, "'Data 1'!$A$16:$C$16");
    EXPECT_EQ(model.series[0].valuesRef, "'Data 1'!$A$17:$C$17");
    EXPECT_EQ(model.series[0].name, "");
    EXPECT_EQ(errorOf([&] { chart->SetSourceData(data->Range("A1,B2"), xl::xlColumns); }), 1004);
}

TEST_F(BuiltinChartSeriesTest, SecondaryAxesExistWhileASeriesIsOnThem) {
    data->Range("C15")->setValue(std::string("DEFLECTION"));
    const auto chart = addDataChart();
    chart->SetSourceData(data->Range("A15", "C20"), xl::xlColumns);
    EXPECT_EQ(errorOf([&] { chart->Axes(xl::xlValue, xl::xlSecondary); }), 1004);
    chart->SeriesCollection()->Item(2)->setAxisGroup(xl::xlSecondary);
    const auto axis = chart->Axes(xl::xlValue, xl::xlSecondary);
    axis->setHasTitle(true);
    axis->AxisTitle()->setCaption("Deflection (in)");
    const auto& model = chartModel("Chart1");
    EXPECT_EQ(model.series[1].axisGroup, 2);
    EXPECT_EQ(model.axis(AxisType::Value, AxisGroup::Secondary).title.text, "Deflection (in)");
    EXPECT_EQ(errorOf([&] { chart->SeriesCollection()->Item(2)->setAxisGroup(3); }), 1004);
    chart->SeriesCollection()->Item(2)->setAxisGroup(xl::xlPrimary);
    EXPECT_EQ(errorOf([&] { axis->setHasTitle(false); }), 1004);
}

TEST_F(BuiltinChartSeriesTest, CollectionAddsDeletesAndKeepsHandlesOnTheirSeries) {
    const auto chart = addDataChart();
    auto collection = chart->SeriesCollection();
    const auto second = collection->NewSeries();
    second->setName("Data 1");
    second->setValues(data->Range("B16:B20"));
    second->setXValues(data->Range("A16:A20"));
    EXPECT_EQ(collection->Count(), 2);
    collection->Item(1)->Delete();
    EXPECT_EQ(collection->Count(), 1);
    second->setName("renamed"); // still its own series after the first went
    EXPECT_EQ(chartModel("Chart1").series[0].name, "renamed");
    EXPECT_EQ(errorOf([&] { collection->Item(2); }), 1004);
    EXPECT_EQ(errorOf([&] { collection->Item(0); }), 1004);
    const auto first = collection->Item(1);
    first->Delete();
    EXPECT_EQ(errorOf([&] { first->Delete(); }), 1004);
    EXPECT_EQ(errorOf([&] { second->Border(); }), 1004);
}

// The summary's hidden sheet: X values as formulas on another sheet, referred to by the
// chart; the written chart carries their computed values.
TEST_F(BuiltinChartSeriesTest, SeriesOnAnotherSheetsFormulasCarryTheirComputedValues) {
    app.setCalculation(xl::xlCalculationManual);
    const auto chart = addDataChart();
    app.Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()));
    const auto offsets = app.ActiveSheet();
    offsets->setName("Summary XOffset");
    const auto xRange = offsets->Range("B16:B20");
    xRange->setFormulaR1C1("='Data 1'!RC1 +  .5");
    chart->Activate();
    auto series = chart->SeriesCollection()->NewSeries();
    series->setValues(data->Range("B16", "B20"));
    series->setXValues(xRange);
    offsets->setVisible(xl::xlSheetHidden);
    app.setScreenUpdating(true); // writes, calculating first

    const auto& model = chartModel("Chart1");
    EXPECT_EQ(model.series[1].xValuesRef, "'Summary XOffset'!$B$16:$B$20");
    std::vector<double> shifted;
    for (int i = 0; i < 5; ++i) {
        shifted.push_back(0.1 * i + 0.5);
    }
    EXPECT_EQ(model.series[1].xValues, shifted);
    EXPECT_EQ(model.series[1].values, (std::vector<double>{0, 10, 40, 90, 160}));
    EXPECT_EQ(model.series[0].values, model.series[1].values);

    // A later change of the data moves the curve at the next write.
    data->Range("B18")->setValue(41.0);
    app.setScreenUpdating(true);
    EXPECT_EQ(model.series[1].values[2], 41.0);
}

TEST_F(BuiltinChartSeriesTest, DatesKeepTheirFormatOnTheAxis) {
    data->Range("A16:A20")->setNumberFormat("m/d/yy h:mm:ss");
    addDataChart();
    app.setScreenUpdating(true);
    EXPECT_EQ(chartModel("Chart1").series[0].xFormat, "m/d/yy h:mm:ss");
    EXPECT_EQ(chartModel("Chart1").series[0].valuesFormat, "General");
    const auto& book = app.workbookModel(1);
    const auto id = book.sheet(*book.indexOf("Chart1")).id();
    const auto chart = test::readPackage(app.workbookFile(1))
                           .at("xl/charts/chart" + std::to_string(id) + ".xml")
                           .content;
    EXPECT_NE(chart.find("<c:numCache><c:formatCode>m/d/yy h:mm:ss</c:formatCode>"),
              std::string::npos);
    EXPECT_NE(chart.find("<c:axId val=\"1001\"/><c:scaling><c:orientation val=\"minMax\"/>"
                         "</c:scaling><c:delete val=\"0\"/><c:axPos val=\"b\"/><c:numFmt "
                         "formatCode=\"m/d/yy h:mm:ss\" sourceLinked=\"1\"/>"),
              std::string::npos)
        << chart;
}

TEST_F(BuiltinChartSeriesTest, CachesOfUnchangedChartsAreLeftAlone) {
    addDataChart();
    app.setScreenUpdating(true);
    const auto revision = app.workbookModel(1).sheet(1).revision();
    app.ActiveSheet()->PageSetup(); // nothing changes
    data->Range("D1")->setValue(std::string("elsewhere"));
    app.setScreenUpdating(true);
    EXPECT_EQ(app.workbookModel(1).sheet(1).revision(), revision);
}

TEST_F(BuiltinChartSeriesTest, GapsStandForCellsThatHoldNoNumber) {
    data->Range("B17")->setValue(std::string("n/a"));
    data->Range("B18")->setValue(xl::Variant{});
    addDataChart();
    app.setScreenUpdating(true);
    const auto& values = chartModel("Chart1").series[0].values;
    ASSERT_EQ(values.size(), 5u);
    EXPECT_TRUE(std::isnan(values[1]));
    EXPECT_TRUE(std::isnan(values[2]));
    EXPECT_EQ(values[4], 160.0);
}

TEST_F(BuiltinChartSeriesTest, AReferenceToADeletedSheetPlotsNothing) {
    const auto chart = addDataChart();
    app.Sheets()->Add(data)->setName("Temp");
    app.ActiveSheet()->Range("A1:A3")->setValue(1.0);
    chart->SeriesCollection()->Item(1)->setValues(app.ActiveSheet()->Range("A1:A3"));
    app.setScreenUpdating(true);
    EXPECT_EQ(chartModel("Chart1").series[0].values.size(), 3u);
    app.ActiveSheet()->Delete();
    app.setScreenUpdating(true);
    EXPECT_TRUE(chartModel("Chart1").series[0].values.empty());
}

} // namespace
} // namespace kelvor
