#include "XlsxPackage.h"

#include "host/app/automation/BuiltinApplication.h"
#include "host/app/numformat/ValueFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvor {
namespace {

TEST(BuiltinApplicationFormatTestDisplayText, GeneralShowsElevenCharactersLikeTheSpreadsheet) {
    EXPECT_EQ(generalText(0), "0");
    EXPECT_EQ(generalText(150), "150");
    EXPECT_EQ(generalText(-2.5), "-2.5");
    EXPECT_EQ(generalText(1.0 / 3), "0.333333333");
    EXPECT_EQ(generalText(2.0 / 3), "0.666666667");
    EXPECT_EQ(generalText(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalText(1234.56789012), "1234.56789");
    EXPECT_EQ(generalText(12345678901.0), "12345678901");
    EXPECT_EQ(generalText(123456789012.0), "1.23457E+11");
    EXPECT_EQ(generalText(99999999999.7), "1E+11");
    EXPECT_EQ(generalText(0.0001), "0.0001");
    EXPECT_EQ(generalText(0.00001), "1E-05");
    EXPECT_EQ(generalText(1.5e-200), "1.5E-200");
    EXPECT_EQ(generalText(45365.5452430556), "45365.54524");
}

TEST(BuiltinApplicationFormatTestDisplayText, NumberAndDateFormats) {
    const double when = 45365 + (13 * 3600 + 5 * 60 + 9.4) / 86400.0;
    EXPECT_EQ(displayText(0.0005, "0.000"), "0.001"); // halves round away from zero
    EXPECT_EQ(displayText(-1.0005, "0.000"), "-1.001");
    EXPECT_EQ(displayText(2.5, "0"), "3");
    EXPECT_EQ(displayText(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(displayText(0.256, "0.0%"), "25.6%");
    EXPECT_EQ(displayText(-3.0, "0.00;(0.00)"), "(3.00)");
    EXPECT_EQ(displayText(when, "m/d/yy h:mm:ss"), "3/14/24 13:05:09");
    EXPECT_EQ(displayText(when, "m/d/yyyy"), "3/14/2024");
    EXPECT_EQ(displayText(when, "hh:mm:ss"), "13:05:09");
    EXPECT_EQ(displayText(when, "h:mm AM/PM"), "1:05 PM");
    EXPECT_EQ(displayText(when, "dddd, mmmm d"), "Thursday, March 14");
    EXPECT_EQ(displayText(59.9999999, "hh:mm:ss"), "00:00:00"); // rounds into the next day
    EXPECT_EQ(displayText(1.5, "[h]:mm"), "36:00");
    EXPECT_EQ(displayText(60.0, "m/d/yyyy"), "2/29/1900");
    EXPECT_EQ(displayText(61.0, "m/d/yyyy"), "3/1/1900");
    EXPECT_EQ(displayText(-1.0, "m/d/yyyy"), "########");
    EXPECT_EQ(displayText(std::string("text"), "0.000"), "text");
    EXPECT_EQ(displayText(true, "General"), "TRUE");
    EXPECT_EQ(displayText(CellError::Name, "0.000"), "#NAME?");
    EXPECT_EQ(displayText(5.0, "@"), "5");
}

class BuiltinApplicationFormatTest : public testing::Test {
protected:
    BuiltinApplicationFormatTest() {
        app.Workbooks()->Add();
        sheet = app.ActiveSheet();
    }
    double number(const std::string& address) {
        return std::get<double>(sheet->Range(address)->Value());
    }
    std::string valueText(const std::string& address) {
        return std::get<std::string>(sheet->Range(address)->Value());
    }
    const Worksheet& model() { return *asWorksheet(app.workbookModel(1).sheet(0)); }

    test::TempDir dir;
    BuiltinApplication app{dir.path()};
    xl::SheetPtr sheet;
};

TEST_F(BuiltinApplicationFormatTest, TextShowsTheValueThroughItsFormat) {
    sheet->Range("A1")->setValue(1.23456);
    sheet->Range("A1")->setNumberFormat("0.000");
    EXPECT_EQ(sheet->Range("A1")->Text(), "1.235");
    sheet->Range("B:B")->setNumberFormat("hh:mm:ss");
    sheet->Range("B7")->setValue(0.75);
    EXPECT_EQ(sheet->Range("B7")->Text(), "18:00:00");
    EXPECT_EQ(sheet->Range("C1")->Text(), "");
}

TEST_F(BuiltinApplicationFormatTest, FormulasFollowTheCalculationMode) {
    sheet->Range("A1")->setValue(45365.0);
    sheet->Range("B1")->setValue(std::string("6:00:00 PM"));
    sheet->Range("H1")->setFormulaR1C1("=RC[-7]+TIMEVALUE(RC[-6])");
    EXPECT_DOUBLE_EQ(number("H1"), 45365.75); // automatic: calculated at once

    app.setCalculation(xl::xlCalculationManual);
    sheet->Range("A2")->setValue(1.0);
    sheet->Range("B2")->setValue(0.5); // a time value: TIMEVALUE takes its time of day
    sheet->Range("H1:H2")->FillDown();
    EXPECT_EQ(sheet->Range("H2")->Text(), ""); // manual: not yet calculated
    sheet->Range("A1")->setValue(1.0);
    EXPECT_DOUBLE_EQ(number("H1"), 45365.75);
    app.Calculate();
    EXPECT_DOUBLE_EQ(number("H1"), 1.75);
    EXPECT_DOUBLE_EQ(number("H2"), 1.5);

    sheet->Range("A2")->setValue(3.0);
    app.setCalculation(xl::xlCalculationAutomatic); // catches up when switched back
    EXPECT_DOUBLE_EQ(number("H2"), 3.5);
    EXPECT_EQ(model().cell(2, 8)->formula, "=RC[-7]+TIMEVALUE(RC[-6])");
}

// Calculate passes by a workbook whose sheets did not change since its last calculation; any
// change of a sheet it reads, of its name or of the sheets there are is still followed.
TEST_F(BuiltinApplicationFormatTest, CalculateFollowsEveryChangeOfTheSheetsItReads) {
    app.setCalculation(xl::xlCalculationManual);
    const auto book = app.ActiveWorkbook();
    sheet->setName("Data 9");
    sheet->Range("B1")->setValue(5.0);
    const auto offsets = book->Sheets()->Add(sheet);
    offsets->Range("A1")->setValue(2.0);
    offsets->Range("H1")->setFormulaR1C1("='Data 9'!R1C2+RC1");
    app.Workbooks()->Add(); // a workbook of its own, with a formula too
    const auto elsewhere = app.ActiveSheet();
    elsewhere->Range("A1")->setFormulaR1C1("=1+1");
    const auto result = [&] { return offsets->Range("H1")->Text(); };
    app.Calculate();
    EXPECT_EQ(result(), "7");
    app.Calculate();
    EXPECT_EQ(result(), "7");

    sheet->Range("B1")->setValue(6.0);
    app.Calculate();
    EXPECT_EQ(result(), "8");
    sheet->setName("Elsewhere");
    app.Calculate();
    EXPECT_EQ(result(), "#REF!");
    sheet->setName("Data 9");
    app.Calculate();
    EXPECT_EQ(result(), "8");
    const auto added = book->Sheets()->Add(sheet);
    added->Range("B1")->setValue(1.0);
    sheet->Delete();
    added->setName("Data 9");
    app.Calculate();
    EXPECT_EQ(result(), "3");
    EXPECT_EQ(elsewhere->Range("A1")->Text(), "2");
}

TEST_F(BuiltinApplicationFormatTest, SheetQualifiedFormulasAndErrorsNeverCrash) {
    app.Sheets()->Item(1)->setName("Data 3");
    sheet->Range("A16")->setValue(0.25);
    sheet->Range("A17")->setValue(std::string("x"));
    const auto offsets = app.Sheets()->Add(app.Sheets()->Item(1));
    offsets->Range("B16:B18")->setFormulaR1C1("='Data 3'!RC1 +  .5");
    EXPECT_DOUBLE_EQ(std::get<double>(offsets->Range("B16")->Value()), 0.75);
    EXPECT_EQ(offsets->Range("B17")->Text(), "#VALUE!");
    EXPECT_DOUBLE_EQ(std::get<double>(offsets->Range("B18")->Value()), 0.5); // empty is 0

    const std::pair<const char*, const char*> cases[] = {{"=SUM(R1C1)", "#NAME?"},
                                                         {"=Total+1", "#NAME?"},
                                                         {"=TIMEVALUE(\"x\")", "#VALUE!"},
                                                         {"='Nowhere'!R1C1", "#REF!"},
                                                         {"=R[-5]C", "#REF!"},
                                                         {"=1/0", "#DIV/0!"},
                                                         {"=RC", "0"},
                                                         {"=\"a\"&1.5", "a1.5"},
                                                         {"=-'Data 3'!R16C1*4^2", "-4"},
                                                         {"=TIMEVALUE(R1C5)", "#VALUE!"}};
    for (const auto& [formula, shown] : cases) {
        offsets->Range("C1")->setFormulaR1C1(formula);
        EXPECT_EQ(offsets->Range("C1")->Text(), shown) << formula;
    }
    // Syntax the application cannot read is refused, as the real one refuses it.
    for (const char* bad : {"='Data 3'!", "=1+", "=(1", "='Dat'a'!RC1", "=R[x]C"}) {
        EXPECT_THROW(offsets->Range("C2")->setFormulaR1C1(bad), xl::HostError) << bad;
    }
    // Without '=' the text is taken as typed.
    offsets->Range("C3")->setFormulaR1C1("12.5");
    EXPECT_DOUBLE_EQ(std::get<double>(offsets->Range("C3")->Value()), 12.5);
}

TEST_F(BuiltinApplicationFormatTest, FormulasSeeResultsOfOtherFormulasWhereverTheyStand) {
    app.Sheets()->Item(1)->setName("Data 1");
    const auto later = app.Sheets()->Add(app.Sheets()->Item(1));
    later->setName("Later");
    later->Range("A1")->setValue(4.0);
    // Sheet order puts this formula first; the one it needs is calculated for it.
    sheet->Range("A1")->setFormulaR1C1("=Later!R1C2*2");
    later->Range("B1")->setFormulaR1C1("=RC[-1]+1");
    EXPECT_EQ(number("A1"), 10);
    sheet->Range("B1")->setFormulaR1C1("=RC+1"); // circular: 0 rather than a hang
    EXPECT_EQ(sheet->Range("B1")->Text(), "1");
    later->setName("Renamed"); // a reference to a sheet no longer there
    EXPECT_EQ(sheet->Range("A1")->Text(), "#REF!");
    EXPECT_EQ(std::get<std::string>(sheet->Range("A1")->Value()), "#REF!");
}

TEST_F(BuiltinApplicationFormatTest, CellsOfAFilledRangeShareTheirFormulaButChangeAlone) {
    sheet->Range("A1:A3")->setValue(2.0);
    sheet->Range("B1:B3")->setFormulaR1C1("=RC[-1]*3");
    EXPECT_TRUE(model().cell(1, 2)->formula.sharedWith(model().cell(3, 2)->formula));
    sheet->Range("B2")->setFormulaR1C1("=RC[-1]+1");
    EXPECT_EQ(model().cell(1, 2)->formula, "=RC[-1]*3");
    EXPECT_EQ(model().cell(2, 2)->formula, "=RC[-1]+1");
    EXPECT_EQ(model().cell(3, 2)->formula, "=RC[-1]*3");
    EXPECT_EQ(number("B1"), 6);
    EXPECT_EQ(number("B2"), 3);
    EXPECT_EQ(number("B3"), 6);
}

TEST_F(BuiltinApplicationFormatTest, AutoFitSizesColumnsToTheirLongestLine) {
    sheet->Range("A15")->setValue(std::string("DEFLECTION\n(in)"));
    sheet->Range("B15")->setValue(std::string("FORCE\n(lbf)"));
    sheet->Range("A1")->setValue(std::string("A much longer title that is not fitted"));
    sheet->Range("A15:B15")->Select();
    app.Selection()->AsRange()->Columns()->AutoFit();
    const auto* a = model().columnFormat(1);
    const auto* b = model().columnFormat(2);
    ASSERT_TRUE(a && a->width && b && b->width);
    EXPECT_TRUE(a->autoFitted);
    EXPECT_NEAR(*a->width, 11.0, 1.5); // "DEFLECTION": ten capitals
    EXPECT_NEAR(*b->width, 6.0, 1.0);  // "FORCE"; the line "(lbf)" is narrower
    EXPECT_TRUE(app.workbookModel(1).styles().style(model().cell(15, 1)->style()).wrapText);

    sheet->Range("C1")->setValue(12345.678);
    sheet->Range("C1")->setNumberFormat("0.000");
    sheet->Range("C2")->setValue(1.0);
    sheet->Columns("C:C")->AutoFit(); // the displayed text counts
    EXPECT_NEAR(*model().columnFormat(3)->width, 9.0, 1.0);

    sheet->Range("D1")->Font()->setSize(20);
    sheet->Range("D1")->setValue(std::string("WIDE"));
    sheet->Columns("D")->AutoFit();
    EXPECT_GT(*model().columnFormat(4)->width, 9.0);

    EXPECT_THROW(sheet->Range("A1:B2")->AutoFit(), xl::HostError); // not columns
}

TEST_F(BuiltinApplicationFormatTest, PageSetupFontsAndAlignment) {
    const auto page = sheet->PageSetup();
    page->setLeftMargin(54.0);
    page->setTopMargin(72);
    page->setCenterHeader("File: &F  Sheet:&A");
    page->setCenterFooter("Page &P of &N");
    page->setPrintTitleRows("$15:$15");
    const auto& setup = model().pageSetup();
    EXPECT_EQ(setup.leftMargin, 54.0);
    EXPECT_EQ(setup.topMargin, 72.0);
    EXPECT_EQ(setup.centerHeader, "File: &F  Sheet:&A");
    EXPECT_EQ(setup.centerFooter, "Page &P of &N");
    EXPECT_EQ(setup.printTitleRows, "$15:$15");
    EXPECT_THROW(page->setCenterFooter(std::string(256, 'x')), xl::HostError);
    page->setRightFooter(std::string(255, 'x'));
    EXPECT_THROW(page->setLeftMargin(-1), xl::HostError);
    EXPECT_THROW(page->setPrintTitleRows("A1"), xl::HostError);

    sheet->Range("B4")->Font()->setFontStyle("Bold");
    sheet->Range("B4")->setHorizontalAlignment(xl::xlRight);
    const auto& style = app.workbookModel(1).styles().style(model().cell(4, 2)->style());
    EXPECT_TRUE(style.font.bold);
    EXPECT_EQ(style.horizontal, HorizontalAlignment::Right);
    sheet->Range("B4")->Font()->setFontStyle("Regular");
    EXPECT_FALSE(app.workbookModel(1).styles().style(model().cell(4, 2)->style()).font.bold);
    EXPECT_THROW(sheet->Range("B4")->Font()->setSize(0), xl::HostError);
    EXPECT_THROW(sheet->Range("B4")->setHorizontalAlignment(12345), xl::HostError);

    // Formatting a huge range formats the cells that hold something, not a million empties.
    sheet->Range("C1")->setValue(1.0);
    sheet->Range("C1:C1000000")->setNumberFormat("0.0");
    EXPECT_EQ(sheet->Range("C1")->Text(), "1.0");
    EXPECT_LT(model().cellCount(), 10u);
}

} // namespace
} // namespace kelvor
