#include "DiskLimits.h"
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/FormulaA1.h"
#include "host/xlsx/WorksheetXml.h"
#include "host/xlsx/XlsxError.h"
#include "host/xlsx/XlsxWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>

namespace kelvor {
namespace {

using test::readPackage;

testing::AssertionResult contains(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) {
        return testing::AssertionSuccess() << "holds \"" << part << '"';
    }
    return testing::AssertionFailure() << "\"" << part << "\" not found in\n" << text;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class XlsxWriterTest : public testing::Test {
protected:
    std::map<std::string, test::PackageEntry> write() {
        writer.write(book, file);
        auto entries = readPackage(file);
        for (const auto& [name, entry] : entries) {
            EXPECT_EQ(test::xmlError(entry.content), "") << name;
        }
        return entries;
    }

    std::string part(const std::string& name) {
        auto entries = write();
        EXPECT_TRUE(entries.contains(name)) << name;
        return entries[name].content;
    }

    std::string sheetPart(const Sheet& sheet) {
        return part("xl/worksheets/sheet" + std::to_string(sheet.id()) + ".xml");
    }

    test::TempDir dir;
    std::filesystem::path file = dir.path() / "Book1.xlsx";
    Workbook book;
    XlsxWriter writer;
};

TEST_F(XlsxWriterTest, WritesACompletePackage) {
    book.addWorksheet("Data 1");
    book.addChartSheet("Data 1 Plot");
    const auto entries = write();
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "docProps/app.xml", "docProps/core.xml",
          "xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/styles.xml",
          "xl/worksheets/sheet1.xml", "xl/chartsheets/sheet2.xml",
          "xl/chartsheets/_rels/sheet2.xml.rels", "xl/drawings/drawing2.xml",
          "xl/drawings/_rels/drawing2.xml.rels", "xl/charts/chart2.xml"}) {
        EXPECT_TRUE(entries.contains(name)) << name;
    }
    EXPECT_EQ(entries.begin()->first, "[Content_Types].xml");
    const auto& types = entries.at("[Content_Types].xml").content;
    EXPECT_TRUE(contains(types, "PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
                                "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\""));
    EXPECT_TRUE(contains(types, "PartName=\"/xl/charts/chart2.xml\""));
    const auto& relationships = entries.at("xl/_rels/workbook.xml.rels").content;
    EXPECT_TRUE(contains(relationships, "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                                        "officeDocument/2006/relationships/worksheet\" "
                                        "Target=\"worksheets/sheet1.xml\""));
    EXPECT_TRUE(contains(relationships, "relationships/chartsheet\" "
                                        "Target=\"chartsheets/sheet2.xml\""));
    // Nothing is left behind beside the workbook.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(XlsxWriterTest, WritesValuesInTheirOwnTypes) {
    auto& sheet = book.addWorksheet("Data 1");
    sheet.setValue(1, 1, 0.1);
    sheet.setValue(1, 2, -0.0);
    sheet.setValue(1, 3, 1e20);
    sheet.setValue(1, 4, 45123.5);
    sheet.setValue(2, 1, true);
    sheet.setValue(2, 2, CellError::NA);
    sheet.setValue(2, 3, std::nan(""));
    sheet.setValue(3, 28, 1.0 / 3.0);
    const auto xml = sheetPart(sheet);
    EXPECT_TRUE(contains(xml, "<dimension ref=\"A1:AB3\"/>"));
    EXPECT_TRUE(contains(xml, "<c r=\"A1\"><v>0.1</v></c><c r=\"B1\"><v>0</v></c>"
                              "<c r=\"C1\"><v>1e+20</v></c><c r=\"D1\"><v>45123.5</v></c>"));
    EXPECT_TRUE(contains(xml, "<c r=\"A2\" t=\"b\"><v>1</v></c><c r=\"B2\" t=\"e\"><v>#N/A</v>"));
    EXPECT_TRUE(contains(xml, "<c r=\"C2\" t=\"e\"><v>#NUM!</v></c>"));
    EXPECT_TRUE(contains(xml, "<c r=\"AB3\"><v>0.3333333333333333</v></c>"));
}

TEST_F(XlsxWriterTest, TextCannotBreakTheDocument) {
    auto& sheet = book.addWorksheet("Data 1");
    sheet.setValue(1, 1, std::string("Force <lbf> & \"more\""));
    using namespace std::string_literals;
    sheet.setValue(2, 1,
                   "a\x01"
                   "b\x1F"
                   "c\td\0e\x0B"s);
    sheet.setValue(3, 1, std::string("  DEFLECTION"));
    sheet.setValue(4, 1, std::string("DEFLECTION\n(in)"));
    sheet.setValue(5, 1, std::string("line\r\nend"));
    sheet.setValue(6, 1, std::string("bad \xFF\xC3 utf8 \xEF\xBF\xBE ok \xC2\xBA"));
    sheet.setValue(7, 1, std::string("_x0041_ stays literal"));
    const auto xml = sheetPart(sheet);
    EXPECT_TRUE(contains(xml, "<is><t>Force &lt;lbf&gt; &amp; \"more\"</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t>abc\tde</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t xml:space=\"preserve\">  DEFLECTION</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t>DEFLECTION\n(in)</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t>line&#13;\nend</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t>bad \xEF\xBF\xBD\xEF\xBF\xBD utf8  ok \xC2\xBA</t></is>"));
    EXPECT_TRUE(contains(xml, "<is><t>_x005F_x0041_ stays literal</t></is>"));
}

TEST_F(XlsxWriterTest, ClipsTextAtTheLongestACellCanHold) {
    auto& sheet = book.addWorksheet("Data 1");
    // 32766 ASCII characters and a character that needs two UTF-16 units: it does not fit.
    sheet.setValue(1, 1, std::string(32766, 'x') + "\xF0\x9F\x98\x80" + "tail");
    const auto xml = sheetPart(sheet);
    EXPECT_TRUE(contains(xml, "<is><t>" + std::string(32766, 'x') + "</t></is>"));
}

TEST_F(XlsxWriterTest, WritesFormulasInA1FormWithTheirResults) {
    auto& sheet = book.addWorksheet("Summary XOffset");
    sheet.setFormula(16, 2, "='Data 3'!RC1 +  .5", FormulaNotation::R1C1, 1.25);
    sheet.setFormula(16, 8, "=RC[-7]+TIMEVALUE(RC[-6])", FormulaNotation::R1C1, CellError::Value);
    sheet.setFormula(1, 1, "=IF(B1>0,\"<pos>\",\"neg\")", FormulaNotation::A1,
                     std::string("<pos>"));
    sheet.setFormula(2, 1, "=SUM(B1:B9)", FormulaNotation::A1); // never calculated
    const auto xml = sheetPart(sheet);
    EXPECT_TRUE(contains(xml, "<c r=\"B16\"><f>'Data 3'!$A16 +  .5</f><v>1.25</v></c>"));
    EXPECT_TRUE(contains(xml, "<c r=\"H16\" t=\"e\"><f>A16+TIMEVALUE(B16)</f><v>#VALUE!</v>"));
    EXPECT_TRUE(contains(xml, "<c r=\"A1\" t=\"str\"><f>IF(B1&gt;0,\"&lt;pos&gt;\",\"neg\")</f>"
                              "<v>&lt;pos&gt;</v></c>"));
    EXPECT_TRUE(contains(xml, "<c r=\"A2\"><f>SUM(B1:B9)</f></c>"));
}

TEST(XlsxWriterTestFormulaA1, RewritesR1C1References) {
    EXPECT_EQ(r1c1ToA1("=RC[-7]+TIMEVALUE(RC[-6])", 16, 8), "=A16+TIMEVALUE(B16)");
    EXPECT_EQ(r1c1ToA1("='Data 3'!RC1 +  .5", 20, 3), "='Data 3'!$A20 +  .5");
    EXPECT_EQ(r1c1ToA1("=R1C1+R[-1]C[+1]+r2c", 5, 5), "=$A$1+F4+E$2");
    EXPECT_EQ(r1c1ToA1("=SUM(R[1]C:R[10]C)", 1, 2), "=SUM(B2:B11)");
    // Beyond the sheet's edges.
    EXPECT_EQ(r1c1ToA1("=RC[-1]+R[-1]C+R0C1", 1, 1), "=#REF!+#REF!+#REF!");
    // Names, functions, text and quoted sheet names that only look like references.
    EXPECT_EQ(r1c1ToA1("=ROUND(RC2,2)&\"RC1\"&'RC3'!RC3", 4, 1), "=ROUND($B4,2)&\"RC1\"&'RC3'!$C4");
    EXPECT_EQ(r1c1ToA1("=RC5X+RC(1)+Sheet1!R2C2", 3, 3), "=RC5X+RC(1)+Sheet1!$B$2");
    EXPECT_EQ(r1c1ToA1("='it''s RC'!RC", 3, 3), "='it''s RC'!C3");
}

TEST_F(XlsxWriterTest, WritesStylesByTheirIds) {
    auto& sheet = book.addWorksheet("Summary");
    Style threeDecimals;
    threeDecimals.numberFormat = "0.000";
    Style header;
    header.horizontal = HorizontalAlignment::Right;
    header.wrapText = true;
    header.font.bold = true;
    Style date;
    date.numberFormat = "m/d/yy h:mm:ss";
    date.font = Font{"Courier \"New\"", 8.5, false};
    const auto a = book.styles().intern(threeDecimals);
    const auto b = book.styles().intern(header);
    const auto c = book.styles().intern(date);
    sheet.setValue(8, 2, 0.5);
    sheet.setStyle(8, 2, a);
    sheet.setStyle(4, 2, b);
    sheet.setColumnStyle(1, c);

    const auto entries = write();
    const auto& xml = entries.at("xl/worksheets/sheet1.xml").content;
    EXPECT_TRUE(contains(xml, "<c r=\"B8\" s=\"1\"><v>0.5</v></c>"));
    EXPECT_TRUE(contains(xml, "<c r=\"B4\" s=\"2\"/>"));
    EXPECT_TRUE(contains(xml, "<col min=\"1\" max=\"1\" width=\"9.140625\" style=\"3\"/>"));
    const auto& styles = entries.at("xl/styles.xml").content;
    EXPECT_TRUE(contains(styles, "<numFmts count=\"2\"><numFmt numFmtId=\"164\" "
                                 "formatCode=\"0.000\"/><numFmt numFmtId=\"165\" "
                                 "formatCode=\"m/d/yy h:mm:ss\"/></numFmts>"));
    EXPECT_TRUE(contains(styles, "<fonts count=\"3\"><font><sz val=\"10\"/><name val=\"Arial\"/>"
                                 "</font><font><b/><sz val=\"10\"/><name val=\"Arial\"/></font>"
                                 "<font><sz val=\"8.5\"/><name val=\"Courier &quot;New&quot;\"/>"));
    EXPECT_TRUE(contains(styles, "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\""));
    EXPECT_TRUE(contains(styles, "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" "
                                 "xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\"><alignment "
                                 "horizontal=\"right\" wrapText=\"1\"/></xf>"));
    EXPECT_TRUE(contains(styles, "<xf numFmtId=\"165\" fontId=\"2\""));
}

TEST_F(XlsxWriterTest, WritesColumnWidthsInPackageUnits) {
    EXPECT_DOUBLE_EQ(packageColumnWidth(8.43), 9.140625);
    EXPECT_DOUBLE_EQ(packageColumnWidth(10.0), 10.7109375);
    auto& sheet = book.addWorksheet("Data 1");
    sheet.setColumnWidth(1, 10.0, true);
    sheet.setColumnWidth(3, 0.0);
    const auto xml = sheetPart(sheet);
    EXPECT_TRUE(contains(xml, "<cols><col min=\"1\" max=\"1\" width=\"10.7109375\" bestFit=\"1\" "
                              "customWidth=\"1\"/><col min=\"3\" max=\"3\" width=\"0.7109375\" "
                              "hidden=\"1\" customWidth=\"1\"/></cols>"));
}

TEST_F(XlsxWriterTest, WritesPageLayoutAndPrintTitles) {
    book.addWorksheet("Summary");
    auto& sheet = book.addWorksheet("Kelvor's Data");
    PageSetup page;
    page.leftMargin = 54.0;
    page.rightMargin = 54.0;
    page.topMargin = 72;
    page.bottomMargin = 72;
    page.centerHeader = "File: &F  Sheet:&A";
    page.centerFooter = "Page &P of &N";
    page.printTitleRows = "$15:$15";
    sheet.setPageSetup(page);
    auto& chart = book.addChartSheet("Data 1 Plot");
    PageSetup chartPage;
    chartPage.rightFooter = "File: &F  Sheet:&A";
    chart.setPageSetup(chartPage);

    const auto entries = write();
    const auto& xml = entries.at("xl/worksheets/sheet2.xml").content;
    EXPECT_TRUE(contains(xml, "<pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"1\" "
                              "header=\"0.3\" footer=\"0.3\"/>"));
    EXPECT_TRUE(contains(xml, "<headerFooter><oddHeader>&amp;CFile: &amp;F  Sheet:&amp;A"
                              "</oddHeader><oddFooter>&amp;CPage &amp;P of &amp;N</oddFooter>"
                              "</headerFooter></worksheet>"));
    EXPECT_TRUE(contains(entries.at("xl/chartsheets/sheet3.xml").content,
                         "<oddFooter>&amp;RFile: &amp;F  Sheet:&amp;A</oddFooter>"));
    const auto& workbook = entries.at("xl/workbook.xml").content;
    EXPECT_TRUE(contains(workbook, "<definedNames><definedName name=\"_xlnm.Print_Titles\" "
                                   "localSheetId=\"1\">'Kelvor''s Data'!$15:$15</definedName>"
                                   "</definedNames>"));
}

TEST_F(XlsxWriterTest, NormalisesOrDropsPrintTitleRows) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"15:15", "$15:$15"}, {"$3", "$3:$3"}, {"$9:$2", "$2:$9"}, {"A1:B2", ""},
        {"$0:$1", ""},        {"15:", ""},     {"", ""},           {"$2:$3x", ""}};
    for (const auto& [given, written] : cases) {
        auto& sheet = book.addWorksheet("Data " + std::to_string(book.sheetCount() + 1));
        PageSetup page;
        page.printTitleRows = given;
        sheet.setPageSetup(page);
        const auto workbook = part("xl/workbook.xml");
        if (written.empty()) {
            EXPECT_FALSE(contains(workbook, "definedName")) << given;
        } else {
            EXPECT_TRUE(contains(workbook, "'!" + written + "</definedName>")) << given;
        }
        book.removeSheet(0);
    }
}

TEST_F(XlsxWriterTest, MarksHiddenSheetsAndKeepsOneVisible) {
    book.addWorksheet("Summary");
    book.addChartSheet("Summary Plot");
    book.addWorksheet("Summary XOffset").setHidden(true);
    book.setActiveSheet(2); // hidden: the file opens on the first visible sheet instead
    auto workbook = part("xl/workbook.xml");
    EXPECT_TRUE(contains(workbook, "<workbookView activeTab=\"0\"/>"));
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Summary\" sheetId=\"1\" r:id=\"rId1\"/>"
                                   "<sheet name=\"Summary Plot\" sheetId=\"2\" r:id=\"rId2\"/>"
                                   "<sheet name=\"Summary XOffset\" sheetId=\"3\" "
                                   "state=\"hidden\" r:id=\"rId3\"/>"));
    book.setActiveSheet(1);
    EXPECT_TRUE(contains(part("xl/workbook.xml"), "<workbookView activeTab=\"1\"/>"));

    // No spreadsheet program opens a workbook whose sheets are all hidden.
    book.sheet(0).setHidden(true);
    book.sheet(1).setHidden(true);
    workbook = part("xl/workbook.xml");
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Summary\" sheetId=\"1\" r:id=\"rId1\"/>"));
    EXPECT_TRUE(contains(workbook, "sheetId=\"2\" state=\"hidden\""));
    EXPECT_TRUE(contains(workbook, "activeTab=\"0\""));
}

TEST_F(XlsxWriterTest, ReusesTheCompressedPartsOfUnchangedSheets) {
    auto& first = book.addWorksheet("Data 1");
    auto& second = book.addWorksheet("Data 2");
    for (std::uint32_t row = 1; row <= 200; ++row) {
        first.setValue(row, 1, row * 0.5);
        second.setValue(row, 2, row * 0.25);
    }
    auto before = write();
    EXPECT_EQ(sorted(writer.compressedParts()),
              (std::vector<std::string>{"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"}));
    EXPECT_TRUE(writer.reusedParts().empty());

    auto& plot = book.addChartSheet("Data 2 Plot");
    auto after = write();
    EXPECT_EQ(sorted(writer.reusedParts()),
              (std::vector<std::string>{"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"}));
    EXPECT_NE(std::find(writer.compressedParts().begin(), writer.compressedParts().end(),
                        "xl/charts/chart3.xml"),
              writer.compressedParts().end());
    EXPECT_EQ(after["xl/worksheets/sheet1.xml"].compressed,
              before["xl/worksheets/sheet1.xml"].compressed);
    EXPECT_EQ(after["xl/worksheets/sheet2.xml"].compressed,
              before["xl/worksheets/sheet2.xml"].compressed);

    second.setValue(3, 3, std::string("changed"));
    after = write();
    EXPECT_EQ(sorted(writer.compressedParts()),
              (std::vector<std::string>{"xl/worksheets/sheet2.xml"}));
    EXPECT_TRUE(contains(after["xl/worksheets/sheet2.xml"].content, "changed"));
    EXPECT_EQ(after["xl/worksheets/sheet1.xml"].compressed,
              before["xl/worksheets/sheet1.xml"].compressed);

    // Moving a sheet changes nothing inside its parts.
    book.moveSheet(0, 2);
    plot.editChart([](Chart& chart) { chart.hasLegend = false; });
    write();
    EXPECT_EQ(sorted(writer.reusedParts()),
              (std::vector<std::string>{"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"}));
}

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

testing::AssertionResult failsWith(const std::function<void()>& write,
                                   const std::filesystem::path& path, const std::string& reason) {
    try {
        write();
    } catch (const XlsxError& error) {
        if (error.path() != path || error.reason() != reason) {
            return testing::AssertionFailure()
                   << "path " << error.path() << ", reason \"" << error.reason() << '"';
        }
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "no XlsxError";
}

TEST_F(XlsxWriterTest, ReportsFailuresInWordsAndLeavesTheOldFileAlone) {
    EXPECT_TRUE(failsWith([&] { writer.write(book, file); }, file, "the workbook has no sheets"));
    book.addWorksheet("Data 1").setValue(1, 1, 1.0);
    write();
    const auto before = bytesOf(file);

    const auto missing = dir.path() / "no such folder" / "Book1.xlsx";
    EXPECT_TRUE(
        failsWith([&] { writer.write(book, missing); }, missing, "the folder does not exist"));
    try {
        writer.write(book, missing);
    } catch (const XlsxError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot write the workbook file " + missing.string() +
                                                 ": the folder does not exist");
    }
    // A folder standing where the file should go.
    const auto taken = dir.path() / "taken.xlsx";
    std::filesystem::create_directory(taken);
    EXPECT_TRUE(failsWith([&] { writer.write(book, taken); }, taken,
                          "a folder stands where the file should be"));
    // A file that can grow no further (a full disk says "no space left on the disk"); Windows
    // limits no process's file size.
    if (test::FileSizeLimit::available()) {
        test::FileSizeLimit limit(512);
        EXPECT_TRUE(failsWith([&] { writer.write(book, file); }, file,
                              "file too large for the disk or for the file-size limit of this "
                              "program"));
    }
    EXPECT_EQ(bytesOf(file), before);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(XlsxWriterTest, AFailedWriteIsWrittenWhollyAtTheNextChance) {
    if (!test::FileSizeLimit::available()) {
        GTEST_SKIP() << "this system limits no process's file size";
    }
    auto& data = book.addWorksheet("Data 1");
    for (std::uint32_t row = 1; row <= 300; ++row) {
        data.setValue(row, 1, row * 0.5);
    }
    write();
    const auto before = bytesOf(file);
    // Changed sheets are compressed for the failing write; the next write takes them from
    // the cache and must still give the whole workbook.
    auto& added = book.addWorksheet("Data 2");
    for (std::uint32_t row = 1; row <= 300; ++row) {
        data.setValue(row, 2, std::string("later ") + std::to_string(row));
        added.setValue(row, 1, row * 0.25);
    }
    book.addChartSheet("Data 2 Plot");
    {
        test::FileSizeLimit limit(before.size());
        EXPECT_THROW(writer.write(book, file), XlsxError);
    }
    EXPECT_EQ(bytesOf(file), before);

    const auto again = write();
    XlsxWriter fresh;
    const auto otherFile = dir.path() / "fresh.xlsx";
    fresh.write(book, otherFile);
    const auto expected = readPackage(otherFile);
    ASSERT_EQ(again.size(), expected.size());
    for (const auto& [name, entry] : expected) {
        ASSERT_TRUE(again.contains(name)) << name;
        if (name != "docProps/core.xml") { // the time the writer was made
            EXPECT_EQ(again.at(name).content, entry.content) << name;
        }
    }
}

TEST_F(XlsxWriterTest, WritesChartSheetsWithSeriesAxesAndTextBoxes) {
    book.addWorksheet("Data 1");
    auto& sheet = book.addChartSheet("Data 1 Plot");
    sheet.editChart([](Chart& chart) {
        chart.hasTitle = true;
        chart.title = ChartText{"CONSTANT LOAD TEST DATA", "Arial", 12, true};
        chart.hasLegend = false;
        chart.series.push_back({"FORCE",
                                "='Data 1'!$A$17:$A$18",
                                "='Data 1'!$B$17:$B$18",
                                {45000.5, 45000.75},
                                {1.5, 2.5},
                                1,
                                Border{5, 2, 1}});
        chart.series.push_back({"DEFLECTION", "", "", {1, 2}, {0.1, std::nan("")}, 2, Border{}});
        auto& axis = chart.axis(AxisType::Value, AxisGroup::Secondary);
        axis.hasTitle = true;
        axis.title.text = "Deflection (in)";
        chart.axis(AxisType::Category, AxisGroup::Primary).hasMajorGridlines = true;
        chart.axis(AxisType::Category, AxisGroup::Primary).majorGridlines = Border{50, 1, -4118};
        TextBox box;
        box.left = 580;
        box.top = 20;
        box.width = 65;
        box.height = 120;
        box.text = "Channel 1\nForce units in lbf & more";
        box.fontSize = 6;
        chart.textBoxes.push_back(box);
    });
    const auto entries = write();
    const auto& chart = entries.at("xl/charts/chart2.xml").content;
    EXPECT_TRUE(contains(chart, "<a:t>CONSTANT LOAD TEST DATA</a:t>"));
    EXPECT_TRUE(contains(chart, "<c:tx><c:v>FORCE</c:v></c:tx><c:spPr><a:ln w=\"9525\">"
                                "<a:solidFill><a:srgbClr val=\"0000FF\"/></a:solidFill>"
                                "<a:prstDash val=\"solid\"/></a:ln></c:spPr>"));
    EXPECT_TRUE(contains(chart, "<c:xVal><c:numRef><c:f>'Data 1'!$A$17:$A$18</c:f>"));
    EXPECT_TRUE(contains(chart, "<c:pt idx=\"1\"><c:v>45000.75</c:v></c:pt>"));
    EXPECT_TRUE(contains(chart, "<c:yVal><c:numLit><c:formatCode>General</c:formatCode>"
                                "<c:ptCount val=\"2\"/><c:pt idx=\"0\"><c:v>0.1</c:v></c:pt>"
                                "</c:numLit>"));
    EXPECT_TRUE(contains(chart, "<c:axId val=\"1003\"/><c:axId val=\"1004\"/>"));
    EXPECT_TRUE(contains(chart, "<c:axPos val=\"r\"/>"));
    EXPECT_TRUE(contains(chart, "<c:majorGridlines><c:spPr><a:ln w=\"3175\"><a:solidFill>"
                                "<a:srgbClr val=\"339966\"/></a:solidFill><a:prstDash "
                                "val=\"sysDot\"/></a:ln></c:spPr></c:majorGridlines>"));
    EXPECT_FALSE(contains(chart, "<c:legend>"));
    EXPECT_TRUE(contains(chart, "<c:userShapes r:id=\"rId1\"/>"));
    EXPECT_TRUE(contains(entries.at("xl/charts/_rels/chart2.xml.rels").content,
                         "Target=\"../drawings/shapes2.xml\""));
    const auto& shapes = entries.at("xl/drawings/shapes2.xml").content;
    EXPECT_TRUE(contains(shapes, "<a:t>Channel 1</a:t>"));
    EXPECT_TRUE(contains(shapes, "<a:t>Force units in lbf &amp; more</a:t>"));
    // Moving and sizing with the chart, the box is anchored by fractions of the chart's size.
    EXPECT_TRUE(contains(shapes, "<cdr:relSizeAnchor"));
    EXPECT_TRUE(contains(shapes, "<cdr:to><cdr:x>0.945054945054945</cdr:x>"));
    EXPECT_TRUE(contains(shapes, "<a:ext cx=\"825500\" cy=\"1524000\"/>"));
    EXPECT_TRUE(contains(entries.at("[Content_Types].xml").content,
                         "PartName=\"/xl/drawings/shapes2.xml\" ContentType=\"application/"
                         "vnd.openxmlformats-officedocument.drawingml.chartshapes+xml\""));
}

} // namespace
} // namespace kelvor
