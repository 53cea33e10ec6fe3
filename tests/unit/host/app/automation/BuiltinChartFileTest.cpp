// The written package of a workbook with the three kinds of chart sheet the export builds,
// made through the object model: its chart parts, and LibreOffice converting it to PDF and
// reading its formulas back.
#include "BuiltinChartFixture.h"

#include "host/model/Workbook.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <regex>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

class BuiltinChartFileTest : public ChartTest {
protected:
    // Gridlines, plot area, series line, titles, info box: the constant-rate chart.
    void formatRateChart(xl::Chart& chart) {
        chart.setHasTitle(true);
        chart.ChartTitle()->Characters()->setText("CONSTANT RATE TEST DATA: FORCE vs DEFORMATION");
        for (const auto type : {xl::xlCategory, xl::xlValue}) {
            const auto axis = chart.Axes(type, xl::xlPrimary);
            axis->setHasTitle(true);
            axis->AxisTitle()->Characters()->setText(type == xl::xlCategory ? "Deformation (in)"
                                                                            : "Force (lbf)");
            axis->setHasMajorGridlines(true);
            axis->setHasMinorGridlines(false);
            axis->MajorGridlines()->Select();
            app.Selection()->AsChartSelection()->Border()->setColorIndex(50);
            app.Selection()->AsChartSelection()->Border()->setWeight(xl::xlHairline);
            app.Selection()->AsChartSelection()->Border()->setLineStyle(xl::xlDot);
        }
        chart.setHasLegend(false);
        chart.PlotArea()->Select();
        app.Selection()->AsChartSelection()->Border()->setWeight(xl::xlThin);
        app.Selection()->AsChartSelection()->Interior()->setColorIndex(xl::xlNone);
        chart.SeriesCollection()->Item(1)->Select();
        app.Selection()->AsChartSelection()->Border()->setColorIndex(5);
        chart.Shapes()
            ->AddTextbox(xl::msoTextOrientationHorizontal, 475, 250, 112.93, 154.45)
            ->Select();
        const auto box = app.Selection()->AsChartSelection();
        box->Characters(1)->setText("Channel 1\nMax Force: 160\nDeformation: .4");
        box->Characters(1)->Font()->setSize(8);
        box->setHorizontalAlignment(xl::xlCenter);
        box->setAutoSize(true);
        box->ShapeRange()->Fill()->ForeColor()->setSchemeColor(9);
        box->ShapeRange()->Line()->ForeColor()->setSchemeColor(64);
        box->setPrintObject(true);
        chart.PageSetup()->setRightFooter("File: &F  Sheet:&A");
    }

    // Build the workbook: Data 1 Plot, a load chart with a secondary axis, and a summary plot
    // over a hidden sheet of offset formulas.
    void buildWorkbook() {
        app.setScreenUpdating(false);
        app.setCalculation(xl::xlCalculationManual);
        auto rate = addDataChart();
        rate->setName("Data 1 Plot");
        formatRateChart(*rate);

        data->Range("C15")->setValue(std::string("DEFLECTION"));
        for (int row = 16; row <= 20; ++row) {
            data->Cells(row, 3)->setValue(0.01 * row);
        }
        auto load = addDataChart();
        load->SetSourceData(data->Range("A15", "C20"), xl::xlColumns);
        load->setName("Load Plot");
        load->SeriesCollection()->Item(2)->setAxisGroup(xl::xlSecondary);
        load->Axes(xl::xlValue, xl::xlSecondary)->setHasTitle(true);
        load->Axes(xl::xlValue, xl::xlSecondary)->AxisTitle()->setCaption("Deflection (in)");

        app.Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()))->setName("Summary");
        app.ActiveSheet()->Range("B8")->setValue(0.5);
        app.ActiveSheet()->Range("D8")->setValue(0.25);
        app.ActiveSheet()->Range("B8,D8")->Select();
        app.ActiveWorkbook()->Charts()->Add(app.Sheets()->Item(app.Sheets()->Count()));
        auto plot = app.ActiveChart();
        app.Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()))->setName("Summary XOffset");
        plot->Activate();
        plot->setName("Summary Plot");
        plot->SeriesCollection()->Item(1)->Delete();
        for (int k = 1; k <= 2; ++k) {
            const auto offsets = app.Sheets()->Item(app.Sheets()->Count());
            offsets->Activate();
            const std::string column(1, static_cast<char>('A' + k - 1));
            const auto xRange = offsets->Range(column + "16", column + "20");
            xRange->setFormulaR1C1(k == 1 ? "='Data 1'!RC1 +  0" : "='Data 1'!RC1 +  .5");
            plot->Activate();
            const auto series = plot->SeriesCollection()->NewSeries();
            series->setName("Data 1");
            series->setValues(data->Range("B16", "B20"));
            series->setXValues(xRange);
        }
        formatRateChart(*plot);
        app.Sheets()->Item(app.Sheets()->Count())->setVisible(xl::xlSheetHidden);
        app.setCalculation(xl::xlCalculationAutomatic);
        app.setScreenUpdating(true);
    }

    std::string chartPart(const std::string& sheetName) {
        const auto& book = app.workbookModel(1);
        const auto id = book.sheet(book.indexOf(sheetName).value()).id();
        return package.at("xl/charts/chart" + std::to_string(id) + ".xml").content;
    }

    std::map<std::string, kelvor::test::PackageEntry> package;
};

int occurrences(const std::string& text, const std::string& what) {
    int count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(BuiltinChartFileTest, ChartPartsHoldSeriesReferencesWithCachedValuesAndTheirFormat) {
    buildWorkbook();
    package = kelvor::test::readPackage(app.workbookFile(1));
    for (const auto& [name, entry] : package) {
        EXPECT_EQ(kelvor::test::xmlError(entry.content), "") << name;
    }

    const auto rate = chartPart("Data 1 Plot");
    EXPECT_NE(rate.find("<c:xVal><c:numRef><c:f>'Data 1'!$A$16:$A$20</c:f><c:numCache>"
                        "<c:formatCode>General</c:formatCode><c:ptCount val=\"5\"/>"),
              std::string::npos);
    EXPECT_NE(rate.find("<c:f>'Data 1'!$B$16:$B$20</c:f>"), std::string::npos);
    EXPECT_NE(rate.find("<c:pt idx=\"4\"><c:v>160</c:v></c:pt>"), std::string::npos);
    EXPECT_NE(rate.find("<c:marker><c:symbol val=\"none\"/></c:marker>"), std::string::npos);
    EXPECT_EQ(rate.find("<c:legend>"), std::string::npos);
    EXPECT_EQ(occurrences(rate, "<a:prstDash val=\"sysDot\"/>"), 2); // both gridlines
    EXPECT_NE(rate.find("<a:srgbClr val=\"339966\"/>"), std::string::npos);
    EXPECT_NE(rate.find("<c:spPr><a:ln w=\"9525\"><a:solidFill><a:srgbClr val=\"0000FF\"/>"),
              std::string::npos); // the series line, colour 5
    EXPECT_NE(rate.find("<c:spPr><a:noFill/><a:ln w=\"9525\"><a:solidFill><a:srgbClr "
                        "val=\"000000\"/></a:solidFill></a:ln></c:spPr></c:plotArea>"),
              std::string::npos);
    EXPECT_NE(rate.find("CONSTANT RATE TEST DATA: FORCE vs DEFORMATION"), std::string::npos);
    // A title whose size was never set is written at the application's 12 points: the text
    // boxes beside it are placed for that size.
    const auto titleRun = rate.rfind("<a:rPr", rate.find("CONSTANT RATE TEST DATA: FORCE"));
    EXPECT_NE(rate.substr(titleRun, 40).find("sz=\"1200\""), std::string::npos)
        << rate.substr(titleRun, 40);
    EXPECT_NE(rate.find("<c:userShapes r:id=\"rId1\"/>"), std::string::npos);

    const auto load = chartPart("Load Plot");
    EXPECT_EQ(occurrences(load, "<c:scatterChart>"), 2);
    EXPECT_NE(load.find("<c:axId val=\"1003\"/><c:axId val=\"1004\"/></c:scatterChart>"),
              std::string::npos);
    EXPECT_NE(load.find("<c:valAx><c:axId val=\"1004\"/><c:scaling><c:orientation "
                        "val=\"minMax\"/></c:scaling><c:delete val=\"0\"/><c:axPos val=\"r\"/>"),
              std::string::npos);
    // Each series takes its name from its header cell, with the cell's text cached.
    EXPECT_NE(load.find("<c:tx><c:strRef><c:f>'Data 1'!$B$15</c:f><c:strCache><c:ptCount "
                        "val=\"1\"/><c:pt idx=\"0\"><c:v>FORCE\n(lbf)</c:v></c:pt></c:strCache>"
                        "</c:strRef></c:tx>"),
              std::string::npos)
        << load;
    EXPECT_NE(load.find("<c:f>'Data 1'!$C$15</c:f><c:strCache><c:ptCount val=\"1\"/><c:pt "
                        "idx=\"0\"><c:v>DEFLECTION</c:v>"),
              std::string::npos);
    EXPECT_NE(load.find("Deflection (in)"), std::string::npos);
    // Titles of the vertical axes read upwards in every reader; the horizontal one does not.
    const auto secondaryTitle = load.rfind("<c:title>", load.find("Deflection (in)"));
    const std::string upward = "<c:title><c:tx><c:rich><a:bodyPr rot=\"-5400000\" vert=\"horz\"/>";
    EXPECT_EQ(load.substr(secondaryTitle, upward.size()), upward);

    // The summary plot's X values come from the hidden sheet's formulas, computed.
    const auto plot = chartPart("Summary Plot");
    EXPECT_EQ(occurrences(plot, "<c:ser>"), 2);
    EXPECT_NE(
        plot.find("<c:f>'Summary XOffset'!$B$16:$B$20</c:f><c:numCache><c:formatCode>"
                  "General</c:formatCode><c:ptCount val=\"5\"/><c:pt idx=\"0\"><c:v>0.5</c:v>"),
        std::string::npos);
    const auto workbook = package.at("xl/workbook.xml").content;
    EXPECT_NE(workbook.find("name=\"Summary XOffset\" sheetId=\""), std::string::npos);
    EXPECT_NE(
        std::regex_search(workbook, std::regex("name=\"Summary XOffset\"[^>]*state=\"hidden\"")),
        false);

    const auto& book = app.workbookModel(1);
    const auto plotId = book.sheet(book.indexOf("Summary Plot").value()).id();
    const auto shapes = package.at("xl/drawings/shapes" + std::to_string(plotId) + ".xml").content;
    EXPECT_NE(shapes.find("<cdr:relSizeAnchor"), std::string::npos);
    EXPECT_NE(shapes.find("<a:spAutoFit/>"), std::string::npos);
    EXPECT_NE(shapes.find("<a:t>Max Force: 160</a:t>"), std::string::npos);
}

// LibreOffice, where installed: the workbook converts to PDF without complaint, and the
// offset sheet's shared formulas read back cell by cell.
class BuiltinChartFileTestInLibreOffice : public BuiltinChartFileTest {
protected:
    void SetUp() override {
        office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty()) {
            office = QStandardPaths::findExecutable("libreoffice");
        }
        if (office.isEmpty()) {
            GTEST_SKIP() << "LibreOffice is not installed";
        }
    }

    // Converts the workbook file; the output of the run.
    std::string convert(const QString& filter, const fs::path& out) {
        QProcess process;
        // A file URL, escaped: the folder may hold blanks and non-Latin letters.
        const auto profile =
            QUrl::fromLocalFile(QString::fromStdString((dir.path() / "profile").string()));
        process.start(office, {"-env:UserInstallation=" + profile.toString(QUrl::FullyEncoded),
                               "--headless", "--convert-to", filter, "--outdir",
                               QString::fromStdString(out.string()),
                               QString::fromStdString(app.workbookFile(1).string())});
        EXPECT_TRUE(process.waitForFinished(240000));
        EXPECT_EQ(process.exitCode(), 0);
        return (process.readAllStandardOutput() + process.readAllStandardError()).toStdString();
    }

    QString office;
};

TEST_F(BuiltinChartFileTestInLibreOffice, ConvertsTheChartsToPdf) {
    buildWorkbook();
    const auto out = dir.path() / "pdf";
    const auto log = convert("pdf", out);
    const auto pdf = out / (app.workbookFile(1).stem().string() + ".pdf");
    ASSERT_TRUE(fs::exists(pdf)) << log;
    EXPECT_GT(fs::file_size(pdf), 10000u);
    EXPECT_EQ(log.find("rror"), std::string::npos) << log;
}

TEST_F(BuiltinChartFileTestInLibreOffice, ReadsTheSharedOffsetFormulasOfEveryRow) {
    buildWorkbook();
    const auto out = dir.path() / "csv";
    // Comma, double quote, UTF-8, from line 1, formulas rather than values, every sheet.
    const auto log = convert("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,"
                             "true,false,-1",
                             out);
    std::ifstream csv(out / (app.workbookFile(1).stem().string() + "-Summary XOffset.csv"));
    ASSERT_TRUE(csv) << log;
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);) {
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[15], "=$'Data 1'.$A16 +  0,=$'Data 1'.$A16 +  0.5");
    EXPECT_EQ(lines[19], "=$'Data 1'.$A20 +  0,=$'Data 1'.$A20 +  0.5");
}

} // namespace
} // namespace kelvor
