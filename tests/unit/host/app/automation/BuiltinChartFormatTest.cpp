#include "BuiltinChartFixture.h"

#include "host/model/Workbook.h"

namespace kelvor {
namespace {

using BuiltinChartFormatTest = ChartTest;

std::shared_ptr<xl::ChartSelection> selected(xl::Application& app) {
    return app.Selection()->AsChartSelection();
}

TEST_F(BuiltinChartFormatTest, TitlesAndTheirFontsReachTheChart) {
    const auto chart = addDataChart();
    EXPECT_EQ(errorOf([&] { chart->ChartTitle(); }), 1004);
    chart->setHasTitle(true);
    chart->ChartTitle()->Characters()->setText("CONSTANT LOAD TEST DATA");
    const auto font = chart->ChartTitle()->Font();
    font->setName("Arial");
    font->setFontStyle("Bold");
    font->setSize(12);
    EXPECT_EQ(errorOf([&] { font->setSize(0); }), 1004);
    EXPECT_EQ(errorOf([&] { font->setFontStyle("Heavy"); }), 1004);
    chart->Axes(xl::xlCategory, xl::xlPrimary)->setHasTitle(true);
    chart->Axes(xl::xlCategory, xl::xlPrimary)->AxisTitle()->Characters()->setText("Time");
    EXPECT_EQ(errorOf([&] { chart->Axes(xl::xlValue, xl::xlPrimary)->AxisTitle(); }), 1004);
    chart->setHasLegend(false);

    const auto& model = chartModel("Chart1");
    EXPECT_TRUE(model.hasTitle);
    EXPECT_EQ(model.title, (ChartText{"CONSTANT LOAD TEST DATA", "Arial", 12, true}));
    EXPECT_EQ(model.axis(AxisType::Category, AxisGroup::Primary).title.text, "Time");
    EXPECT_FALSE(model.hasLegend);
    chart->setHasTitle(false);
    EXPECT_EQ(errorOf([&] { font->setSize(10); }), 1004); // the title is gone
}

TEST_F(BuiltinChartFormatTest, GridlinesPlotAreaAndSeriesAreFormattedThroughTheSelection) {
    const auto chart = addDataChart();
    const auto axis = chart->Axes(xl::xlCategory, xl::xlPrimary);
    EXPECT_EQ(errorOf([&] { axis->MajorGridlines(); }), 1004);
    axis->setHasMajorGridlines(true);
    axis->setHasMinorGridlines(false);
    axis->MajorGridlines()->Select();
    selected(app)->Border()->setColorIndex(50);
    selected(app)->Border()->setWeight(xl::xlHairline);
    selected(app)->Border()->setLineStyle(xl::xlDot);
    EXPECT_EQ(errorOf([&] { selected(app)->Interior(); }), 438);
    EXPECT_EQ(errorOf([&] { selected(app)->Characters(1); }), 438);
    EXPECT_EQ(errorOf([&] { selected(app)->Border()->setColorIndex(57); }), 1004);
    EXPECT_EQ(errorOf([&] { selected(app)->Border()->setWeight(3); }), 1004);

    chart->PlotArea()->Select();
    selected(app)->Border()->setWeight(xl::xlThin);
    selected(app)->Border()->setLineStyle(xl::xlAutomatic);
    selected(app)->Interior()->setColorIndex(xl::xlNone);

    chart->SeriesCollection()->Item(1)->Select();
    selected(app)->Border()->setColorIndex(5);
    selected(app)->Border()->setWeight(xl::xlThin);
    selected(app)->Border()->setLineStyle(xl::xlContinuous);
    EXPECT_EQ(errorOf([&] { selected(app)->ShapeRange(); }), 438);

    const auto& model = chartModel("Chart1");
    const auto& grid = model.axis(AxisType::Category, AxisGroup::Primary);
    EXPECT_TRUE(grid.hasMajorGridlines);
    EXPECT_EQ(grid.majorGridlines, (Border{50, xl::xlHairline, xl::xlDot}));
    EXPECT_EQ(model.plotAreaBorder, (Border{xl::xlAutomatic, xl::xlThin, xl::xlAutomatic}));
    EXPECT_EQ(model.plotAreaInteriorColorIndex, xl::xlNone);
    EXPECT_EQ(model.series[0].border, (Border{5, xl::xlThin, xl::xlContinuous}));

    // Deselected, the chart as a whole has none of these.
    chart->Deselect();
    EXPECT_EQ(errorOf([&] { selected(app)->Border(); }), 438);
    // Elements of a chart that is not the active sheet cannot be selected.
    data->Activate();
    EXPECT_EQ(errorOf([&] { chart->PlotArea()->Select(); }), 1004);
}

TEST_F(BuiltinChartFormatTest, RangeSelectionHasNoChartMembers) {
    data->Range("A16:B20")->Select();
    EXPECT_EQ(errorOf([&] { selected(app); }), 438);
    EXPECT_NO_THROW(app.Selection()->AsRange());
}

// The info box as the export builds it, step by step through the selection.
TEST_F(BuiltinChartFormatTest, TextBoxTakesTextFontFillOutlineAndSizesItselfToItsText) {
    const auto chart = addDataChart();
    chart->Shapes()
        ->AddTextbox(xl::msoTextOrientationHorizontal, 475, 250, 112.93, 154.45)
        ->Select();
    selected(app)->Characters(1)->setText("Channel 1\nForce units in lbf\nTest: 17");
    selected(app)->setAutoScaleFont(false);
    const auto font = selected(app)->Characters(1)->Font();
    font->setName("Arial");
    font->setFontStyle("Regular");
    font->setSize(8);
    font->setStrikethrough(false);
    font->setShadow(false);
    font->setUnderline(xl::xlUnderlineStyleNone);
    font->setColorIndex(xl::xlAutomatic);
    selected(app)->setHorizontalAlignment(xl::xlCenter);
    selected(app)->setVerticalAlignment(xl::xlTop);
    selected(app)->setOrientation(xl::xlHorizontal);
    selected(app)->setAutoSize(true);
    const auto fill = selected(app)->ShapeRange()->Fill();
    fill->setVisible(xl::msoTrue);
    fill->Solid();
    fill->ForeColor()->setSchemeColor(9);
    fill->setTransparency(0.0);
    const auto line = selected(app)->ShapeRange()->Line();
    line->setWeight(0.75);
    line->setDashStyle(xl::msoLineSolid);
    line->setStyle(xl::msoLineSingle);
    line->setTransparency(0.0);
    line->setVisible(xl::msoTrue);
    line->ForeColor()->setSchemeColor(64);
    line->BackColor()->setRGB(0xFFFFFF);
    selected(app)->setPlacement(xl::xlMoveAndSize);
    selected(app)->setPrintObject(true);
    EXPECT_EQ(errorOf([&] { selected(app)->Border(); }), 438);
    EXPECT_EQ(errorOf([&] { fill->setTransparency(1.5); }), -2147024809);

    const auto& box = chartModel("Chart1").textBoxes.at(0);
    EXPECT_EQ(box.text, "Channel 1\nForce units in lbf\nTest: 17");
    EXPECT_EQ(box.fontName, "Arial");
    EXPECT_EQ(box.fontSize, 8);
    EXPECT_FALSE(box.bold);
    EXPECT_EQ(box.horizontalAlignment, xl::xlCenter);
    EXPECT_TRUE(box.autoSize);
    EXPECT_TRUE(box.fillVisible);
    EXPECT_EQ(box.fillSchemeColor, 9);
    EXPECT_EQ(box.lineSchemeColor, 64);
    EXPECT_EQ(box.lineRgb, -1); // the back colour is not the line's colour
    EXPECT_TRUE(box.printObject);
    // Three lines of 8 points and a longest line of 18 characters: far smaller than asked.
    EXPECT_NEAR(box.height, 3 * 8 * 1.2 + 7.2, 0.01);
    EXPECT_GT(box.width, 18 * 8 * 0.4);
    EXPECT_LT(box.width, 18 * 8 * 0.6 + 14.4);
    EXPECT_EQ(box.left, 475);
    EXPECT_EQ(box.top, 250);

    // More text grows it; a box that would reach past the chart's edge moves back onto it.
    const double narrow = box.width;
    selected(app)->Characters(10)->setText(
        ": a description long enough to push the box past the edge");
    EXPECT_EQ(box.text, "Channel 1: a description long enough to push the box past the edge");
    EXPECT_GT(box.width, narrow);
    EXPECT_NEAR(box.height, 8 * 1.2 + 7.2, 0.01);
    EXPECT_NEAR(box.left + box.width, kChartSheetWidth, 0.01);
}

TEST_F(BuiltinChartFormatTest, BoxWithoutAutoSizeKeepsItsSizeAndUnknownValuesAreRefused) {
    const auto chart = addDataChart();
    EXPECT_EQ(errorOf([&] { chart->Shapes()->AddTextbox(7, 0, 0, 50, 50); }), 1004);
    EXPECT_EQ(errorOf([&] { chart->Shapes()->AddTextbox(1, 0, 0, -1, 50); }), 1004);
    chart->Shapes()->AddTextbox(xl::msoTextOrientationHorizontal, 475, 0, 50, 50)->Select();
    selected(app)->Characters(1)->setText("a rather long line of text for fifty points");
    EXPECT_EQ(errorOf([&] { selected(app)->setHorizontalAlignment(5); }), 1004);
    EXPECT_EQ(errorOf([&] { selected(app)->setPlacement(9); }), 1004);
    selected(app)->ShapeRange()->Line()->setVisible(xl::msoFalse);
    const auto& box = chartModel("Chart1").textBoxes.at(0);
    EXPECT_EQ(box.width, 50);
    EXPECT_EQ(box.height, 50);
    EXPECT_FALSE(box.lineVisible);
}

} // namespace
} // namespace kelvor
