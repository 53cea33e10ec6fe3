#include "XlsxPackage.h"

#include "host/app/automation/BuiltinApplication.h"
#include "util/AnsiText.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

class BuiltinApplicationPasteTest : public testing::Test {
protected:
    BuiltinApplicationPasteTest() {
        app.Workbooks()->Add();
        sheet = app.ActiveSheet();
    }

    xl::Variant value(const std::string& address) { return sheet->Range(address)->Value(); }
    std::string text(const std::string& address) { return std::get<std::string>(value(address)); }
    // The number a cell holds; one shown as a date comes over as a date.
    double number(const std::string& address) {
        const xl::Variant held = value(address);
        const auto* date = std::get_if<xl::Date>(&held);
        return date != nullptr ? date->serial : std::get<double>(held);
    }
    bool empty(const std::string& address) {
        return std::holds_alternative<std::monostate>(value(address));
    }

    void paste(const std::string& clipboard) {
        app.setClipboardText(clipboard);
        sheet->Paste();
    }

    // Splits column A the way the export does it: commas, double-quote qualifier.
    void splitColumnA(xl::TextToColumnsOptions options = commaOptions()) {
        sheet->Columns("A:A")->Select();
        app.Selection()->AsRange()->TextToColumns(sheet->Range("A1"), options);
    }

    static xl::TextToColumnsOptions commaOptions() {
        xl::TextToColumnsOptions o;
        o.comma = true;
        o.other = false;
        o.otherChar = ":";
        o.fieldInfo = {{1, 1}};
        return o;
    }

    test::TempDir dir;
    BuiltinApplication app{dir.path()};
    xl::SheetPtr sheet;
};

TEST_F(BuiltinApplicationPasteTest, PasteWritesOneLineARowAsTextFromTheActiveCell) {
    paste("CONSTANT RATE TEST DATA\r\n\r\n  12.5 \rlast\n");
    EXPECT_EQ(text("A1"), "CONSTANT RATE TEST DATA");
    EXPECT_TRUE(empty("A2"));
    EXPECT_EQ(text("A3"), "  12.5 "); // text as given: the split reads it later
    EXPECT_EQ(text("A4"), "last");
    EXPECT_TRUE(empty("A5")); // the final line break adds no row

    sheet->Range("C10")->Select();
    paste("x\ny");
    EXPECT_EQ(text("C10"), "x");
    EXPECT_EQ(text("C11"), "y");

    app.clearClipboard();
    EXPECT_THROW(sheet->Paste(), xl::HostError);
}

TEST_F(BuiltinApplicationPasteTest, PasteKeepsLongLinesManyLinesAndAnyBytes) {
    const std::string longLine(100000, 'x');
    std::string many;
    for (int i = 1; i <= 50000; ++i) {
        many += std::to_string(i) + ",1.5\r\n";
    }
    paste(longLine + "\r\n" + many);
    EXPECT_EQ(text("A1").size(), 100000u);
    EXPECT_EQ(text("A50001"), "50000,1.5");
    EXPECT_TRUE(empty("A50002"));

    const std::string odd = windows1252ToUtf8(std::string("\x80\xBA nul\0here", 12));
    sheet->Range("B1")->Select();
    paste(odd);
    EXPECT_EQ(text("B1"), odd);
    EXPECT_EQ(text("B1").size(), odd.size());
}

TEST_F(BuiltinApplicationPasteTest, SplitMakesNumbersDatesTimesAndBooleansAndLeavesTheRestText) {
    paste("CONSTANT LOAD TEST DATA\n"
          " 1.5 ,-2e3,+.25,1,234\n"
          "3/14/2024,13:05:09,1/2/99,2:30 PM,2/29/1900\n"
          "3/14/2024 13:05,true,FALSE,12:60,2/30/2024\n"
          "=1+1,=HYPERLINK(\"http://x\"),@SUM(A1),-abc,+x\n"
          "abc , d,,\n" +
          std::string("1e999,1e-999,a\0b,", 17) + windows1252ToUtf8("\xBA F\x93") + "\n");
    splitColumnA();
    EXPECT_EQ(text("A1"), "CONSTANT LOAD TEST DATA");
    EXPECT_EQ(number("A2"), 1.5);
    EXPECT_EQ(number("B2"), -2000);
    EXPECT_EQ(number("C2"), 0.25);
    EXPECT_EQ(number("D2"), 1); // no thousands separators: "1,234" is two fields
    EXPECT_EQ(number("E2"), 234);

    EXPECT_EQ(number("A3"), 45365); // 2024-03-14
    EXPECT_EQ(sheet->Range("A3")->Text(), "3/14/2024");
    EXPECT_DOUBLE_EQ(number("B3"), (13 * 3600 + 5 * 60 + 9) / 86400.0);
    EXPECT_EQ(sheet->Range("B3")->Text(), "13:05:09");
    EXPECT_EQ(number("C3"), 36162); // 1999-01-02
    EXPECT_DOUBLE_EQ(number("D3"), 14.5 / 24);
    EXPECT_EQ(number("E3"), 60); // the day the 1900 calendar counts but never was

    EXPECT_DOUBLE_EQ(number("A4"), 45365 + (13 * 60 + 5) / 1440.0);
    EXPECT_EQ(std::get<bool>(value("B4")), true);
    EXPECT_EQ(std::get<bool>(value("C4")), false);
    EXPECT_EQ(text("D4"), "12:60");
    EXPECT_EQ(text("E4"), "2/30/2024");

    // Nothing is ever read as a formula.
    EXPECT_EQ(text("A5"), "=1+1");
    EXPECT_EQ(text("B5"), "=HYPERLINK(\"http://x\")");
    EXPECT_EQ(text("C5"), "@SUM(A1)");
    EXPECT_EQ(text("D5"), "-abc");
    EXPECT_EQ(text("E5"), "+x");
    EXPECT_TRUE(app.workbookModel(1).sheet(0).kind() == SheetKind::Worksheet);
    EXPECT_FALSE(asWorksheet(app.workbookModel(1).sheet(0))->cell(5, 1)->hasFormula());

    EXPECT_EQ(text("A6"), "abc "); // text keeps its blanks
    EXPECT_EQ(text("B6"), " d");
    EXPECT_TRUE(empty("C6"));
    EXPECT_TRUE(empty("D6"));

    EXPECT_EQ(text("A7"), "1e999"); // too large for a number
    EXPECT_EQ(number("B7"), 0);     // too small: zero
    EXPECT_EQ(text("C7"), std::string("a\0b", 3));
    EXPECT_EQ(text("D7"), "\u00BA F\u201C");
}

TEST_F(BuiltinApplicationPasteTest, SplitHonoursTheTextQualifier) {
    paste("\"a,b\",\"say \"\"hi\"\"\",x\"y,\"open,quote\n"
          "\"c\"d,e\n");
    splitColumnA();
    EXPECT_EQ(text("A1"), "a,b");
    EXPECT_EQ(text("B1"), "say \"hi\"");
    EXPECT_EQ(text("C1"), "x\"y");       // a quote inside a field is an ordinary character
    EXPECT_EQ(text("D1"), "open,quote"); // an open quote runs to the end of the line
    EXPECT_TRUE(empty("E1"));
    EXPECT_EQ(text("A2"), "cd");
    EXPECT_EQ(text("B2"), "e");

    // Without a qualifier quotes are kept and delimiters inside them split.
    paste("\"a,b\"");
    auto options = commaOptions();
    options.textQualifier = xl::xlTextQualifierNone;
    splitColumnA(options);
    EXPECT_EQ(text("A1"), "\"a");
    EXPECT_EQ(text("B1"), "b\"");
}

TEST_F(BuiltinApplicationPasteTest, SplitAtOtherDelimitersFillsOnlyTheColumnsItNeeds) {
    paste("Peak Load: 12.5\nPeak Deformation: 0.75\nName: a:b:c\n");
    splitColumnA();
    sheet->Range("C1")->setValue(std::string("old"));
    sheet->Range("A1:A3")->Select();
    xl::TextToColumnsOptions options;
    options.textQualifier = xl::xlTextQualifierNone;
    options.other = true;
    options.otherChar = ":";
    options.fieldInfo = {{1, 1}, {2, 1}};
    app.Selection()->AsRange()->TextToColumns(sheet->Range("A1"), options);
    EXPECT_EQ(text("A1"), "Peak Load");
    EXPECT_EQ(number("B1"), 12.5);
    EXPECT_EQ(text("C1"), "old"); // beyond the split: left as it was
    EXPECT_EQ(text("B3"), " a");
    EXPECT_EQ(text("D3"), "c");

    // Consecutive delimiters as one; a column given format 9 is left out, format 2 is text.
    paste("1  2   3");
    options = {};
    options.space = true;
    options.consecutiveDelimiter = true;
    options.fieldInfo = {{1, 9}, {2, 2}};
    sheet->Range("A1")->Select();
    app.Selection()->AsRange()->TextToColumns(sheet->Range("F1"), options);
    EXPECT_EQ(text("F1"), "2");
    EXPECT_EQ(number("G1"), 3);

    // The fields may go to another sheet; the source stays as it was.
    const auto target = app.Sheets()->Add(sheet);
    sheet->Range("A1")->TextToColumns(target->Range("B2"), options);
    EXPECT_EQ(std::get<std::string>(target->Range("B2")->Value()), "2");
    EXPECT_EQ(std::get<double>(target->Range("C2")->Value()), 3);
    EXPECT_EQ(text("A1"), "1  2   3");

    // More than one source column is refused.
    EXPECT_THROW(sheet->Range("A1:B2")->TextToColumns(nullptr, options), xl::HostError);
}

TEST_F(BuiltinApplicationPasteTest, CopyPasteSpecialValuesAndPasteOfARange) {
    auto range = [&](const char* a) { return sheet->Range(a); };
    range("A1")->setValue(45365.0);
    range("B1")->setValue(std::string("13:05:09"));
    range("H1")->setFormulaR1C1("=RC[-7]+TIMEVALUE(RC[-6])");
    range("H1")->setNumberFormat("m/d/yy h:mm:ss");
    range("H1")->Copy();
    range("I1")->PasteSpecial(xl::xlPasteValues, xl::xlNone, false, false);
    const auto* copied = asWorksheet(app.workbookModel(1).sheet(0))->cell(1, 9);
    ASSERT_NE(copied, nullptr);
    EXPECT_FALSE(copied->hasFormula());
    EXPECT_DOUBLE_EQ(number("I1"), 45365 + (13 * 3600 + 5 * 60 + 9) / 86400.0);
    EXPECT_EQ(range("I1")->Text().find(':'), std::string::npos); // values only, no format

    range("A5")->setValue(1.0);
    range("B5")->setValue(std::string("6:00"));
    range("H1")->Copy();
    range("H5")->Select();
    sheet->Paste(); // formula and format: the relative references now name row 5
    EXPECT_EQ(range("H5")->Text(), "1/1/00 6:00:00");
    app.setCutCopyMode(false);
    EXPECT_THROW(range("A6")->PasteSpecial(xl::xlPasteValues, xl::xlNone, false, false),
                 xl::HostError);
}

TEST_F(BuiltinApplicationPasteTest, PasteAcrossWorkbooksTransposedAndSkippingBlanks) {
    sheet->Range("A1")->setValue(1.5);
    sheet->Range("A1")->setNumberFormat("0.00");
    sheet->Range("C1")->setValue(std::string("c"));
    sheet->Range("A1:C1")->Copy();
    app.Workbooks()->Add();
    const auto other = app.ActiveSheet();
    other->Range("A2")->setValue(std::string("kept"));
    other->Range("A1")->PasteSpecial(-4104, xl::xlNone, true, true); // all, skip blanks
    EXPECT_EQ(other->Range("A1")->Text(), "1.50"); // the format came along to this workbook
    EXPECT_EQ(std::get<std::string>(other->Range("A2")->Value()), "kept");
    EXPECT_EQ(std::get<std::string>(other->Range("A3")->Value()), "c");
    EXPECT_EQ(app.Selection()->AsRange()->Text(), "1.50"); // the pasted area is selected

    other->Range("A1:A3")->Copy();
    other->Range("B1")->PasteSpecial(-4122, xl::xlNone, false, false); // formats only
    other->Range("B1")->setValue(2.0);
    EXPECT_EQ(other->Range("B1")->Text(), "2.00");
    EXPECT_THROW(other->Range("C1")->PasteSpecial(xl::xlPasteValues, 2 /* add */, false, false),
                 xl::HostError);

    // A copied range whose sheet is gone cannot be pasted.
    other->Range("A1")->Copy();
    app.Sheets()->Add(nullptr);
    app.Sheets()->Item(2)->Delete();
    EXPECT_THROW(app.ActiveSheet()->Paste(), xl::HostError);
}

TEST_F(BuiltinApplicationPasteTest, DeletingWholeColumnsMovesLaterColumnsLeft) {
    for (const char* cell : {"A1", "B1", "C1", "D1"}) {
        sheet->Range(cell)->setValue(std::string(cell));
    }
    sheet->Range("C:C")->setNumberFormat("0.000");
    sheet->Columns("B:B")->Delete(xl::xlShiftToLeft);
    EXPECT_EQ(text("A1"), "A1");
    EXPECT_EQ(text("B1"), "C1");
    EXPECT_EQ(text("C1"), "D1");
    EXPECT_TRUE(empty("D1"));
    sheet->Range("B2")->setValue(1.0); // the column format moved along
    EXPECT_EQ(sheet->Range("B2")->Text(), "1.000");

    sheet->Range("A1")->Delete(xl::xlShiftToLeft); // cells of the row only
    EXPECT_EQ(text("A1"), "C1");
    EXPECT_EQ(number("B2"), 1);

    sheet->Range("B1")->Delete(-4162); // up: the cell below takes its place
    EXPECT_EQ(number("B1"), 1);
    EXPECT_TRUE(empty("B2"));
    EXPECT_THROW(sheet->Range("A1")->Delete(0), xl::HostError);
}

TEST_F(BuiltinApplicationPasteTest, FillDownCopiesTheTopRow) {
    sheet->Range("A1")->setValue(2.0);
    sheet->Range("A2")->setValue(3.0);
    sheet->Range("B1")->setFormulaR1C1("=RC[-1]+1");
    sheet->Range("B1:B3")->FillDown();
    EXPECT_EQ(number("B2"), 4);
    EXPECT_EQ(number("B3"), 1);
}

} // namespace
} // namespace kelvor
