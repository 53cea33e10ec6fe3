#include "ExportFixture.h"

#include "export/CellText.h"
#include "export/ChannelWorkbooks.h"
#include "export/DataSheet.h"
#include "export/FormatDataSheet.h"
#include "export/ReportHeader.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

int errorNumberOf(const auto& call) {
    try {
        call();
    } catch (const xl::HostError& error) {
        return error.number();
    }
    return 0;
}

class FormatDataSheetTest : public ExportFixture {
protected:
    FormatDataSheetTest() {
        channels[2].Description = "Line 3 tester";
        ActivateChannelWorkbook(ctx, index);
    }

    // Pastes the report as AddDataSheet does, then formats it for channel 2.
    void exportLines(const std::vector<std::string>& lines) {
        std::string text = reportText(lines);
        FormatDataSheet(ctx, 2, AddDataSheet(ctx, text, index));
    }

    const Worksheet& model() {
        const auto& book = builtin().workbookModel(index);
        return *asWorksheet(book.sheet(*book.activeSheet()));
    }

    xl::Sheet& sheet() {
        active = ctx.application().ActiveSheet();
        return *active;
    }

    std::int32_t index = 0;
    xl::SheetPtr active;
};

TEST_F(FormatDataSheetTest, ReportNotPastedLeavesTheSheetAlone) {
    sheet().Cells(1, 1)->setValue(std::string("a,b"));
    FormatDataSheet(ctx, 2, AddedDataSheet{});
    EXPECT_EQ(cell(1, 1), "a,b");
    EXPECT_TRUE(sheet().Cells(1, 2)->Value().index() == 0);
    EXPECT_EQ(model().pageSetup(), PageSetup{});
}

TEST_F(FormatDataSheetTest, UnknownTitleIsSplitAndLaidOutOnly) {
    exportLines({"CONSTANT RATE TEST DATA ", "=1+2,\"a,b\",,-5", "@SUM(A1)"});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(cell(1, 1), "CONSTANT RATE TEST DATA ");
    // Fields that look like formulas stay text; quoted fields keep their commas.
    EXPECT_EQ(cell(2, 1), "=1+2");
    EXPECT_EQ(cell(2, 2), "a,b");
    EXPECT_TRUE(sheet().Cells(2, 3)->Value().index() == 0);
    EXPECT_EQ(sheet().Cells(2, 4)->Value(), xl::Variant{-5.0});
    EXPECT_EQ(cell(3, 1), "@SUM(A1)");
    EXPECT_FALSE(model().cell(2, 1)->hasFormula());

    const PageSetup& page = model().pageSetup();
    EXPECT_EQ(page.leftMargin, 54.0);
    EXPECT_EQ(page.rightMargin, 54.0);
    EXPECT_EQ(page.topMargin, 72.0);
    EXPECT_EQ(page.bottomMargin, 72.0);
    EXPECT_EQ(page.centerHeader, "File: &F  Sheet:&A");
    EXPECT_EQ(page.centerFooter, "Page &P of &N");
    EXPECT_EQ(sheetNames(), std::vector<std::string>{"Data 1"});
}

TEST_F(FormatDataSheetTest, HeaderRowIsSearchedFromRowElevenOn) {
    for (int row = 1; row <= 40; ++row) {
        sheet().Cells(row, 1)->setValue(std::string("DEFLECTION"));
    }
    EXPECT_EQ(FindHeaderRow(sheet(), "DEFLECTION"), 11);

    sheet().Cells(11, 1)->setValue(std::string("DEFLECTIONS"));
    sheet().Cells(12, 1)->setValue(std::string("DEFLECTION\t"));
    sheet().Cells(13, 1)->setValue(std::string("   DEFLECTION  "));
    EXPECT_EQ(FindHeaderRow(sheet(), "DEFLECTION"), 13);
}

TEST_F(FormatDataSheetTest, PointCountIsTheLeadingNumberAboveTheHeader) {
    sheet().Cells(14, 1)->setValue(std::string("150 points"));
    EXPECT_EQ(ReadPointCount(sheet(), 15), 150.0);
    sheet().Cells(14, 1)->setValue(std::string("Points: 150"));
    EXPECT_EQ(ReadPointCount(sheet(), 15), 0.0);
    sheet().Cells(14, 1)->setValue(99.5);
    EXPECT_EQ(ReadPointCount(sheet(), 15), 99.5);
}

TEST_F(FormatDataSheetTest, HeaderLinesRunFromLineThreeToThreeAboveTheHeader) {
    for (int row = 1; row <= 30; ++row) {
        sheet().Cells(row, 1)->setValue("line " + std::to_string(row));
    }
    ReportHeader header;
    CollectHeaderLines(sheet(), 11, 2, channels, header);
    EXPECT_EQ(header.InfoText, "Line 3 tester\nline 3\nline 4\nline 5\nline 6\nline 7\nline 8\n");
    EXPECT_EQ(header.HeaderLines[8], "line 8");
    EXPECT_EQ(header.HeaderLines[9], "");

    ReportHeader deepest;
    CollectHeaderLines(sheet(), 23, 0, channels, deepest);
    EXPECT_EQ(deepest.HeaderLines[3], "line 3");
    EXPECT_EQ(deepest.HeaderLines[20], "line 20");
    EXPECT_EQ(deepest.InfoText.substr(0, 8), "\nline 3\n"); // empty description

    ReportHeader tooDeep;
    EXPECT_EQ(errorNumberOf([&] { CollectHeaderLines(sheet(), 24, 2, channels, tooDeep); }), 9);
    EXPECT_EQ(errorNumberOf([&] { CollectHeaderLines(sheet(), 11, 6, channels, tooDeep); }), 9);
    EXPECT_EQ(errorNumberOf([&] { CollectHeaderLines(sheet(), 11, -1, channels, tooDeep); }), 9);
}

TEST_F(FormatDataSheetTest, LabelledHeaderCellKeepsItsWordFirst) {
    sheet().Cells(15, 2)->setValue(std::string("  DEFLECTION "));
    LabelHeaderCell(sheet(), 15, 2, "mm");
    EXPECT_EQ(cell(15, 2), "DEFLECTION\n(mm)");
    const auto& styles = builtin().workbookModel(index).styles();
    EXPECT_EQ(styles.style(model().cell(15, 2)->style()).horizontal, HorizontalAlignment::Right);
}

TEST_F(FormatDataSheetTest, RateReportWithValidHeaderBlockShowsNothing) {
    exportLines(rateReportLines(11));
    exportLines(rateReportLines(23));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FormatDataSheetTest, HeaderBlockFaultsAreShownAfterSplitAndLayout) {
    exportLines(rateReportLines(24));
    // What was done before the fault stays.
    EXPECT_EQ(cell(24, 1), "DEFLECTION");
    EXPECT_EQ(cell(24, 2), "FORCE");
    EXPECT_EQ(model().pageSetup().centerFooter, "Page &P of &N");

    // Each report on a fresh sheet, as when a chart sheet follows the data sheet.
    builtin().workbookModel(index).addChartSheet("Data 1 Plot");
    auto lines = rateReportLines(15);
    lines[2] = "lbf";
    exportLines(lines);
    builtin().workbookModel(index).addChartSheet("Data 2 Plot");
    lines = rateReportLines(15);
    lines.resize(13); // no column-header line at all
    exportLines(lines);

    ASSERT_EQ(prompts.shown.size(), 3U);
    // The runtime's words first, then what they mean for the report.
    EXPECT_EQ(prompts.shown[0].text,
              "Error #  9 was generated by KelvorReader2\rSubscript out of range\rThe report has "
              "more header lines before its column headings than a test report has.");
    EXPECT_EQ(prompts.shown[1].text,
              "Error #  5 was generated by KelvorReader2\rInvalid procedure call or argument\rA "
              "units line of the report (force, deflection or temperature units) is missing or "
              "cut short.");
    EXPECT_EQ(prompts.shown[2].text,
              "Error #  6 was generated by KelvorReader2\rOverflow\rThe report has no line of "
              "column headings (DEFLECTION or DATE) above its readings.");
    for (const auto& shown : prompts.shown) {
        EXPECT_EQ(shown.title, "Error");
        EXPECT_EQ(shown.buttons, PromptButtons::Ok);
    }
}

TEST_F(FormatDataSheetTest, FractionalRowMakesAnAddressTheApplicationRejects) {
    EXPECT_EQ(cellAddress('B', 15 + 100.5), "B115.5");
    EXPECT_EQ(errorNumberOf([&] { sheet().Range("A16", cellAddress('B', 115.5)); }), 1004);
    EXPECT_EQ(errorNumberOf([&] { sheet().Range("A16", cellAddress('B', 115)); }), 0);
}

} // namespace
} // namespace kelvor::test
