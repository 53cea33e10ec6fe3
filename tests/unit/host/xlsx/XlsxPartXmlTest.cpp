// Single parts compared whole with the text they must have, so that any change to what the
// writer puts in a file shows up here, in the order the file has it.
#include "host/model/Workbook.h"
#include "host/xlsx/ChartSheetXml.h"
#include "host/xlsx/ChartXml.h"
#include "host/xlsx/PackageXml.h"
#include "host/xlsx/StylesXml.h"
#include "host/xlsx/WorksheetXml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

namespace kelvor {
namespace {

// The whole text of a part from the expected text below, which is laid out for reading: a line
// break and the indent after it are not part of the part, and its declaration is left out.
std::string part(std::string_view laidOut) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    for (std::size_t i = 0; i < laidOut.size(); ++i) {
        if (laidOut[i] != '\n') {
            text += laidOut[i];
            continue;
        }
        while (i + 1 < laidOut.size() && laidOut[i + 1] == ' ') {
            ++i;
        }
    }
    return text;
}

class XlsxPartXmlTest : public testing::Test {
protected:
    // Beyond the default: a bold format whose number format needs quoting in an attribute, a
    // centred, wrapped one in a smaller font, and the first one again aligned right, sharing
    // its number format and font.
    void addStyles() {
        Style unit;
        unit.numberFormat = "0.0 \"kN\"";
        unit.font.bold = true;
        bold = book.styles().intern(unit);
        Style heading;
        heading.horizontal = HorizontalAlignment::Center;
        heading.wrapText = true;
        heading.font.size = 8;
        book.styles().intern(heading);
        unit.horizontal = HorizontalAlignment::Right;
        book.styles().intern(unit);
    }

    Worksheet& addDataSheet() {
        auto& sheet = book.addWorksheet("Data 1");
        sheet.setValue(1, 1, std::string("Load"));
        sheet.setValue(1, 2, 12.5);
        sheet.setStyle(1, 2, bold);
        sheet.setFormula(2, 2, "=R[-1]C*2", FormulaNotation::R1C1, 25.0);
        sheet.setColumnWidth(1, 12);
        PageSetup page;
        page.leftMargin = 36;
        page.topMargin = 72;
        page.centerHeader = "&A";
        page.rightFooter = "Page &P of &N";
        page.printTitleRows = "$1:$1";
        sheet.setPageSetup(page);
        sheet.setSelection({{CellRange{2, 1, 2, 2}}, 2, 2});
        return sheet;
    }

    ChartSheet& addPlot() {
        auto& plot = book.addChartSheet("Data 1 Plot");
        plot.editChart([](Chart& chart) {
            chart.hasTitle = true;
            chart.title.text = "Test 1";
            ChartSeries load;
            load.name = "Load";
            load.nameRef = "='Data 1'!$A$1";
            load.xValuesRef = "='Data 1'!$A$2:$A$3";
            load.valuesRef = "='Data 1'!$B$2:$B$3";
            load.xValues = {0, 1.5};
            load.values = {10, std::nan("")}; // a gap
            load.valuesFormat = "0.0";
            ChartSeries rate;
            rate.name = "Rate";
            rate.xValues = {1.5};
            rate.values = {4};
            rate.axisGroup = 2;
            chart.series = {load, rate};
            auto& value = chart.axis(AxisType::Value, AxisGroup::Primary);
            value.hasTitle = true;
            value.title.text = "Load (kN)";
            value.hasMajorGridlines = true;
            chart.axis(AxisType::Category, AxisGroup::Primary).hasMinorGridlines = true;
            TextBox box;
            box.left = 68.25;
            box.top = 49.5;
            box.width = 136.5;
            box.height = 24.75;
            box.text = "Rate 5 mm/min";
            chart.textBoxes = {box};
        });
        PageSetup page;
        page.centerFooter = "&F";
        plot.setPageSetup(page);
        return plot;
    }

    Workbook book;
    StyleId bold = 0;
};

TEST_F(XlsxPartXmlTest, StylesListEachNumberFormatAndFontOnce) {
    addStyles();
    EXPECT_EQ(stylesXml(book.styles()), part(R"(
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
    <numFmts count="1"><numFmt numFmtId="164" formatCode="0.0 &quot;kN&quot;"/></numFmts>
    <fonts count="3">
        <font><sz val="10"/><name val="Arial"/></font>
        <font><b/><sz val="10"/><name val="Arial"/></font>
        <font><sz val="8"/><name val="Arial"/></font>
    </fonts>
    <fills count="2">
        <fill><patternFill patternType="none"/></fill>
        <fill><patternFill patternType="gray125"/></fill>
    </fills>
    <borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>
    <cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
    <cellXfs count="4">
        <xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>
        <xf numFmtId="164" fontId="1" fillId="0" borderId="0" xfId="0" applyNumberFormat="1" applyFont="1"/>
        <xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1" applyAlignment="1">
            <alignment horizontal="center" wrapText="1"/>
        </xf>
        <xf numFmtId="164" fontId="1" fillId="0" borderId="0" xfId="0" applyNumberFormat="1" applyFont="1" applyAlignment="1">
            <alignment horizontal="right"/>
        </xf>
    </cellXfs>
    <cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>
</styleSheet>
)"));
}

TEST_F(XlsxPartXmlTest, WorksheetHoldsCellsColumnsSelectionAndPageLayout) {
    addStyles();
    EXPECT_EQ(worksheetXml(addDataSheet()), part(R"(
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
    <dimension ref="A1:B2"/>
    <sheetViews>
        <sheetView workbookViewId="0"><selection activeCell="B2" sqref="A2:B2"/></sheetView>
    </sheetViews>
    <sheetFormatPr defaultRowHeight="12.75"/>
    <cols><col min="1" max="1" width="12.7109375" customWidth="1"/></cols>
    <sheetData>
        <row r="1">
            <c r="A1" t="inlineStr"><is><t>Load</t></is></c>
            <c r="B1" s="1"><v>12.5</v></c>
        </row>
        <row r="2"><c r="B2"><f>B1*2</f><v>25</v></c></row>
    </sheetData>
    <pageMargins left="0.5" right="0.7" top="1" bottom="0.75" header="0.3" footer="0.3"/>
    <pageSetup paperSize="9" orientation="portrait"/>
    <headerFooter>
        <oddHeader>&amp;C&amp;A</oddHeader>
        <oddFooter>&amp;RPage &amp;P of &amp;N</oddFooter>
    </headerFooter>
</worksheet>
)"));
}

// The print title rows live in the workbook part, as a name of their sheet.
TEST_F(XlsxPartXmlTest, WorkbookListsSheetsAndPrintTitles) {
    addDataSheet();
    addPlot();
    book.setActiveSheet(1);
    EXPECT_EQ(workbookXml(book), part(R"(
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
    <bookViews><workbookView activeTab="1"/></bookViews>
    <sheets>
        <sheet name="Data 1" sheetId="1" r:id="rId1"/>
        <sheet name="Data 1 Plot" sheetId="2" r:id="rId2"/>
    </sheets>
    <definedNames>
        <definedName name="_xlnm.Print_Titles" localSheetId="0">'Data 1'!$1:$1</definedName>
    </definedNames>
</workbook>
)"));
}

TEST_F(XlsxPartXmlTest, ChartSheetPrintsLandscapeAndHoldsItsDrawing) {
    EXPECT_EQ(chartsheetXml(addPlot()), part(R"(
<chartsheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
    <sheetViews><sheetView zoomToFit="1" workbookViewId="0"/></sheetViews>
    <pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>
    <pageSetup paperSize="9" orientation="landscape"/>
    <headerFooter><oddFooter>&amp;C&amp;F</oddFooter></headerFooter>
    <drawing r:id="rId1"/>
</chartsheet>
)"));
    EXPECT_EQ(drawingXml(), part(R"(
<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main">
    <xdr:absoluteAnchor>
        <xdr:pos x="0" y="0"/>
        <xdr:ext cx="8667750" cy="6286500"/>
        <xdr:graphicFrame macro="">
            <xdr:nvGraphicFramePr>
                <xdr:cNvPr id="2" name="Chart 1"/>
                <xdr:cNvGraphicFramePr><a:graphicFrameLocks noGrp="1"/></xdr:cNvGraphicFramePr>
            </xdr:nvGraphicFramePr>
            <xdr:xfrm><a:off x="0" y="0"/><a:ext cx="0" cy="0"/></xdr:xfrm>
            <a:graphic>
                <a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/chart">
                    <c:chart xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" r:id="rId1"/>
                </a:graphicData>
            </a:graphic>
        </xdr:graphicFrame>
        <xdr:clientData/>
    </xdr:absoluteAnchor>
</xdr:wsDr>
)"));
}

TEST_F(XlsxPartXmlTest, ChartWithASecondaryAxisTitlesAndGridlines) {
    EXPECT_EQ(chartXml(addPlot().chart()), part(R"(
<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
    <c:roundedCorners val="0"/>
    <c:chart>
        <c:title>
            <c:tx>
                <c:rich>
                    <a:bodyPr/>
                    <a:lstStyle/>
                    <a:p>
                        <a:pPr><a:defRPr lang="en-US" b="0" sz="1200"/></a:pPr>
                        <a:r><a:rPr lang="en-US" b="0" sz="1200"/><a:t>Test 1</a:t></a:r>
                    </a:p>
                </c:rich>
            </c:tx>
            <c:overlay val="0"/>
        </c:title>
        <c:autoTitleDeleted val="0"/>
        <c:plotArea>
            <c:layout/>
            <c:scatterChart>
                <c:scatterStyle val="lineMarker"/>
                <c:varyColors val="0"/>
                <c:ser>
                    <c:idx val="0"/>
                    <c:order val="0"/>
                    <c:tx>
                        <c:strRef>
                            <c:f>'Data 1'!$A$1</c:f>
                            <c:strCache>
                                <c:ptCount val="1"/>
                                <c:pt idx="0"><c:v>Load</c:v></c:pt>
                            </c:strCache>
                        </c:strRef>
                    </c:tx>
                    <c:spPr>
                        <a:ln w="9525"><a:solidFill><a:srgbClr val="000080"/></a:solidFill></a:ln>
                    </c:spPr>
                    <c:marker><c:symbol val="none"/></c:marker>
                    <c:xVal>
                        <c:numRef>
                            <c:f>'Data 1'!$A$2:$A$3</c:f>
                            <c:numCache>
                                <c:formatCode>General</c:formatCode>
                                <c:ptCount val="2"/>
                                <c:pt idx="0"><c:v>0</c:v></c:pt>
                                <c:pt idx="1"><c:v>1.5</c:v></c:pt>
                            </c:numCache>
                        </c:numRef>
                    </c:xVal>
                    <c:yVal>
                        <c:numRef>
                            <c:f>'Data 1'!$B$2:$B$3</c:f>
                            <c:numCache>
                                <c:formatCode>0.0</c:formatCode>
                                <c:ptCount val="2"/>
                                <c:pt idx="0"><c:v>10</c:v></c:pt>
                            </c:numCache>
                        </c:numRef>
                    </c:yVal>
                    <c:smooth val="0"/>
                </c:ser>
                <c:axId val="1001"/>
                <c:axId val="1002"/>
            </c:scatterChart>
            <c:scatterChart>
                <c:scatterStyle val="lineMarker"/>
                <c:varyColors val="0"/>
                <c:ser>
                    <c:idx val="1"/>
                    <c:order val="1"/>
                    <c:tx><c:v>Rate</c:v></c:tx>
                    <c:spPr>
                        <a:ln w="9525"><a:solidFill><a:srgbClr val="FF00FF"/></a:solidFill></a:ln>
                    </c:spPr>
                    <c:marker><c:symbol val="none"/></c:marker>
                    <c:xVal>
                        <c:numLit>
                            <c:formatCode>General</c:formatCode>
                            <c:ptCount val="1"/>
                            <c:pt idx="0"><c:v>1.5</c:v></c:pt>
                        </c:numLit>
                    </c:xVal>
                    <c:yVal>
                        <c:numLit>
                            <c:formatCode>General</c:formatCode>
                            <c:ptCount val="1"/>
                            <c:pt idx="0"><c:v>4</c:v></c:pt>
                        </c:numLit>
                    </c:yVal>
                    <c:smooth val="0"/>
                </c:ser>
                <c:axId val="1003"/>
                <c:axId val="1004"/>
            </c:scatterChart>
            <c:valAx>
                <c:axId val="1001"/>
                <c:scaling><c:orientation val="minMax"/></c:scaling>
                <c:delete val="0"/>
                <c:axPos val="b"/>
                <c:minorGridlines/>
                <c:numFmt formatCode="General" sourceLinked="1"/>
                <c:majorTickMark val="out"/>
                <c:minorTickMark val="none"/>
                <c:tickLblPos val="nextTo"/>
                <c:crossAx val="1002"/>
                <c:crosses val="autoZero"/>
                <c:crossBetween val="midCat"/>
            </c:valAx>
            <c:valAx>
                <c:axId val="1002"/>
                <c:scaling><c:orientation val="minMax"/></c:scaling>
                <c:delete val="0"/>
                <c:axPos val="l"/>
                <c:majorGridlines>
                    <c:spPr>
                        <a:ln w="9525"><a:solidFill><a:srgbClr val="000000"/></a:solidFill></a:ln>
                    </c:spPr>
                </c:majorGridlines>
                <c:title>
                    <c:tx>
                        <c:rich>
                            <a:bodyPr rot="-5400000" vert="horz"/>
                            <a:lstStyle/>
                            <a:p>
                                <a:pPr><a:defRPr lang="en-US" b="0"/></a:pPr>
                                <a:r><a:rPr lang="en-US" b="0"/><a:t>Load (kN)</a:t></a:r>
                            </a:p>
                        </c:rich>
                    </c:tx>
                    <c:overlay val="0"/>
                </c:title>
                <c:numFmt formatCode="0.0" sourceLinked="1"/>
                <c:majorTickMark val="out"/>
                <c:minorTickMark val="none"/>
                <c:tickLblPos val="nextTo"/>
                <c:crossAx val="1001"/>
                <c:crosses val="autoZero"/>
                <c:crossBetween val="midCat"/>
            </c:valAx>
            <c:valAx>
                <c:axId val="1003"/>
                <c:scaling><c:orientation val="minMax"/></c:scaling>
                <c:delete val="1"/>
                <c:axPos val="b"/>
                <c:numFmt formatCode="General" sourceLinked="1"/>
                <c:majorTickMark val="out"/>
                <c:minorTickMark val="none"/>
                <c:tickLblPos val="nextTo"/>
                <c:crossAx val="1004"/>
                <c:crosses val="autoZero"/>
                <c:crossBetween val="midCat"/>
            </c:valAx>
            <c:valAx>
                <c:axId val="1004"/>
                <c:scaling><c:orientation val="minMax"/></c:scaling>
                <c:delete val="0"/>
                <c:axPos val="r"/>
                <c:numFmt formatCode="General" sourceLinked="1"/>
                <c:majorTickMark val="out"/>
                <c:minorTickMark val="none"/>
                <c:tickLblPos val="nextTo"/>
                <c:crossAx val="1003"/>
                <c:crosses val="max"/>
                <c:crossBetween val="midCat"/>
            </c:valAx>
            <c:spPr>
                <a:ln w="9525"><a:solidFill><a:srgbClr val="000000"/></a:solidFill></a:ln>
            </c:spPr>
        </c:plotArea>
        <c:legend><c:legendPos val="r"/><c:overlay val="0"/></c:legend>
        <c:plotVisOnly val="1"/>
        <c:dispBlanksAs val="gap"/>
    </c:chart>
    <c:userShapes r:id="rId1"/>
</c:chartSpace>
)"));
}

TEST_F(XlsxPartXmlTest, ChartTextBoxMovesAndSizesWithTheChart) {
    EXPECT_EQ(chartShapesXml(addPlot().chart()), part(R"(
<c:userShapes xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main">
    <cdr:relSizeAnchor xmlns:cdr="http://schemas.openxmlformats.org/drawingml/2006/chartDrawing">
        <cdr:from><cdr:x>0.1</cdr:x><cdr:y>0.1</cdr:y></cdr:from>
        <cdr:to><cdr:x>0.3</cdr:x><cdr:y>0.15</cdr:y></cdr:to>
        <cdr:sp macro="" textlink="">
            <cdr:nvSpPr><cdr:cNvPr id="2" name="Text Box 1"/><cdr:cNvSpPr txBox="1"/></cdr:nvSpPr>
            <cdr:spPr>
                <a:xfrm><a:off x="0" y="0"/><a:ext cx="1733550" cy="314325"/></a:xfrm>
                <a:prstGeom prst="rect"><a:avLst/></a:prstGeom>
                <a:solidFill><a:srgbClr val="FFFFFF"/></a:solidFill>
                <a:ln w="9525" cmpd="sng">
                    <a:solidFill><a:srgbClr val="000000"/></a:solidFill>
                    <a:prstDash val="solid"/>
                </a:ln>
            </cdr:spPr>
            <cdr:txBody>
                <a:bodyPr vertOverflow="overflow" horzOverflow="overflow" wrap="square" anchor="t"/>
                <a:lstStyle/>
                <a:p>
                    <a:pPr algn="l"/>
                    <a:r>
                        <a:rPr lang="en-US" b="0" sz="1000"><a:latin typeface="Arial"/></a:rPr>
                        <a:t>Rate 5 mm/min</a:t>
                    </a:r>
                    <a:endParaRPr lang="en-US" b="0" sz="1000">
                        <a:latin typeface="Arial"/>
                    </a:endParaRPr>
                </a:p>
            </cdr:txBody>
        </cdr:sp>
    </cdr:relSizeAnchor>
</c:userShapes>
)"));
}

// Targets are relative to the folder of the part that holds the relationship.
TEST_F(XlsxPartXmlTest, RelationshipsAndContentTypes) {
    const ChartPartNames names(addPlot().id());
    EXPECT_EQ(relationshipXml(names.drawing, RelationshipKind::Drawing), part(R"(
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
    <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing" Target="../drawings/drawing1.xml"/>
</Relationships>
)"));
    EXPECT_EQ(relationshipXml(names.chart, RelationshipKind::Chart), part(R"(
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
    <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart" Target="../charts/chart1.xml"/>
</Relationships>
)"));
    EXPECT_EQ(relationshipXml(names.shapes, RelationshipKind::ChartShapes), part(R"(
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
    <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartUserShapes" Target="../drawings/shapes1.xml"/>
</Relationships>
)"));

    book.addWorksheet("Data 1", 0);
    EXPECT_EQ(workbookRelationshipsXml(book, {"worksheets/sheet2.xml", "chartsheets/sheet1.xml"}),
              part(R"(
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
    <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet2.xml"/>
    <Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/>
    <Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>
)"));
    EXPECT_EQ(rootRelationshipsXml(), part(R"(
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
    <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
    <Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>
    <Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties" Target="docProps/app.xml"/>
</Relationships>
)"));
    EXPECT_EQ(contentTypesXml({{"xl/workbook.xml", contentType::Workbook},
                               {"xl/worksheets/sheet2.xml", contentType::Worksheet}}),
              part(R"(
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
    <Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
    <Default Extension="xml" ContentType="application/xml"/>
    <Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
    <Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
</Types>
)"));
}

} // namespace
} // namespace kelvor

namespace kelvor {
namespace {

// Sheets print on the paper the workbook was made with, whatever other program opens them.
TEST(PaperSizeXmlTest, SheetsTakeTheWorkbooksPaperAndTheWriterNamesIt) {
    Workbook book;
    book.setPaperSize(PaperLetter);
    Worksheet& letter = book.addWorksheet("Data 1");
    ChartSheet& plot = book.addChartSheet("Data 1 Plot");
    book.setPaperSize(PaperA4);
    Worksheet& a4 = book.addWorksheet("Summary");
    EXPECT_EQ(letter.pageSetup().paperSize, PaperLetter);
    EXPECT_NE(worksheetXml(letter).find("<pageSetup paperSize=\"1\" orientation=\"portrait\"/>"),
              std::string::npos);
    EXPECT_NE(chartsheetXml(plot).find("<pageSetup paperSize=\"1\" orientation=\"landscape\"/>"),
              std::string::npos);
    EXPECT_NE(worksheetXml(a4).find("paperSize=\"9\""), std::string::npos);
}

} // namespace
} // namespace kelvor
