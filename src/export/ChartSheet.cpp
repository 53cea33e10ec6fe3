#include "export/ChartSheet.h"

namespace kelvor {

namespace {

constexpr std::int16_t GridlineColorIndex = 50;
constexpr std::int16_t SeriesColorIndex = 5;
constexpr std::int16_t WhiteSchemeColor = 9;
constexpr std::int16_t BlackSchemeColor = 64;
constexpr std::int32_t White = 0xFFFFFF;

std::shared_ptr<xl::ChartSelection> chartSelection(xl::Application& app) {
    return app.Selection()->AsChartSelection();
}

} // namespace

void AddChartSheet(ExportContext& ctx, const xl::RangePtr& source,
                   const std::string& dataSheetName) {
    xl::Application& app = ctx.application();
    const std::int32_t worksheets = app.Worksheets()->Count();
    app.ActiveWorkbook()->Charts()->Add(app.Worksheets()->Item(worksheets));
    // Behind the last worksheet may stand chart sheets of earlier tests: go past them too.
    const std::int32_t sheets = app.Sheets()->Count();
    app.ActiveChart()->Move(app.Sheets()->Item(sheets));
    app.ActiveChart()->setChartType(xl::xlXYScatterLinesNoMarkers);
    app.ActiveChart()->SetSourceData(source, xl::xlColumns);
    app.ActiveChart()->setName(dataSheetName + " Plot");
}

void StyleMajorGridlines(xl::Application& app, std::int32_t axisType) {
    const auto axis = app.ActiveChart()->Axes(axisType, xl::xlPrimary);
    axis->setHasMajorGridlines(true);
    axis->setHasMinorGridlines(false);
    axis->MajorGridlines()->Select();
    const auto border = chartSelection(app)->Border();
    border->setColorIndex(GridlineColorIndex);
    border->setWeight(xl::xlHairline);
    border->setLineStyle(xl::xlDot);
}

void setTextBoxFont(xl::ChartSelection& selection, std::int16_t size) {
    const auto font = selection.Characters(1)->Font();
    font->setName("Arial");
    font->setFontStyle("Regular");
    font->setSize(size);
    font->setStrikethrough(false);
    font->setSuperscript(false);
    font->setSubscript(false);
    font->setOutlineFont(false);
    font->setShadow(false);
    font->setUnderline(xl::xlUnderlineStyleNone);
    font->setColorIndex(xl::xlAutomatic);
}

void AddInfoTextBox(xl::Application& app, const std::string& text, double left, double top,
                    double width, double height, std::int16_t fontSize) {
    app.ActiveChart()
        ->Shapes()
        ->AddTextbox(xl::msoTextOrientationHorizontal, left, top, width, height)
        ->Select();
    chartSelection(app)->Characters(1)->setText(text);
    chartSelection(app)->setAutoScaleFont(false);
    setTextBoxFont(*chartSelection(app), fontSize);

    auto selection = chartSelection(app);
    selection->setHorizontalAlignment(xl::xlCenter);
    selection->setVerticalAlignment(xl::xlTop);
    selection->setOrientation(xl::xlHorizontal);
    selection->setAutoSize(true);

    const auto fill = chartSelection(app)->ShapeRange()->Fill();
    fill->setVisible(xl::msoTrue);
    fill->Solid();
    fill->ForeColor()->setSchemeColor(WhiteSchemeColor);
    fill->setTransparency(0.0);

    const auto line = chartSelection(app)->ShapeRange()->Line();
    line->setWeight(0.75);
    line->setDashStyle(xl::msoLineSolid);
    line->setStyle(xl::msoLineSingle);
    line->setTransparency(0.0);
    line->setVisible(xl::msoTrue);
    line->ForeColor()->setSchemeColor(BlackSchemeColor);
    line->BackColor()->setRGB(White);

    selection = chartSelection(app);
    selection->setPlacement(xl::xlMoveAndSize);
    selection->setPrintObject(true);
}

void formatPlotArea(xl::Application& app, xl::Chart& chart) {
    chart.PlotArea()->Select();
    const auto border = chartSelection(app)->Border();
    border->setWeight(xl::xlThin);
    border->setLineStyle(xl::xlAutomatic);
    chartSelection(app)->Interior()->setColorIndex(xl::xlNone);
}

void styleSeriesLine(xl::Border& border) {
    border.setColorIndex(SeriesColorIndex);
    border.setWeight(xl::xlThin);
    border.setLineStyle(xl::xlContinuous);
}

} // namespace kelvor
