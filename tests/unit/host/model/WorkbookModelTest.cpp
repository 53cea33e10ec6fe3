#include "host/model/CellAddress.h"
#include "host/model/SheetName.h"
#include "host/model/Workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace kelvor {
namespace {

TEST(WorkbookModelTest, HandsOutStableIdsAndOnlyAppends) {
    Styles styles;
    EXPECT_EQ(styles.intern(Style{}), 0u);

    Style threeDecimals;
    threeDecimals.numberFormat = "0.000";
    Style boldRight;
    boldRight.horizontal = HorizontalAlignment::Right;
    boldRight.font.bold = true;

    const auto a = styles.intern(threeDecimals);
    const auto b = styles.intern(boldRight);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(styles.intern(threeDecimals), a);

    Style wrapped = boldRight;
    wrapped.wrapText = true;
    EXPECT_EQ(styles.intern(wrapped), 3u);
    EXPECT_EQ(styles.intern(boldRight), b);
    EXPECT_EQ(styles.style(a).numberFormat, "0.000");
    EXPECT_TRUE(styles.style(b).font.bold);
    EXPECT_EQ(styles.size(), 4u);
    EXPECT_THROW(styles.style(4), std::out_of_range);
}

TEST(WorkbookModelTest, RejectsFontSizesNoSpreadsheetAccepts) {
    Styles styles;
    for (const double size : {0.0, -3.0, 410.0, std::nan("")}) {
        Style style;
        style.font.size = size;
        EXPECT_THROW(styles.intern(style), std::invalid_argument) << size;
    }
    EXPECT_EQ(styles.size(), 1u);
}

TEST(WorkbookModelTest, StoresEveryKindOfValue) {
    Worksheet sheet(1, "Data 1");
    sheet.setValue(3, 2, 1.5);
    sheet.setValue(1, 1, std::string("CONSTANT RATE TEST DATA"));
    sheet.setValue(1, 3, true);
    sheet.setValue(1, 2, CellError::Value);

    EXPECT_EQ(std::get<double>(sheet.cell(3, 2)->value()), 1.5);
    EXPECT_EQ(*textOf(sheet.cell(1, 1)->value()), "CONSTANT RATE TEST DATA");
    EXPECT_TRUE(std::get<bool>(sheet.cell(1, 3)->value()));
    EXPECT_EQ(std::get<CellError>(sheet.cell(1, 2)->value()), CellError::Value);
    EXPECT_EQ(sheet.cell(2, 2), nullptr);
    EXPECT_EQ(sheet.cellCount(), 4u);

    // Cells inserted out of order still come out sorted by column.
    const auto& row = sheet.rows().at(1);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0].column, 1u);
    EXPECT_EQ(row[1].column, 2u);
    EXPECT_EQ(row[2].column, 3u);
    EXPECT_EQ(sheet.usedRange(), (CellRange{1, 1, 3, 3}));
}

TEST(WorkbookModelTest, FormulasKeepTheirTextAndCachedResult) {
    Worksheet sheet(1, "Summary XOffset");
    sheet.setStyle(16, 2, 4);
    sheet.setFormula(16, 2, "='Data 3'!RC1 +  .5", FormulaNotation::R1C1, 2.25);
    auto cell = *sheet.cell(16, 2);
    EXPECT_EQ(cell.formula, "='Data 3'!RC1 +  .5");
    EXPECT_EQ(cell.notation(), FormulaNotation::R1C1);
    EXPECT_EQ(std::get<double>(cell.value()), 2.25);
    EXPECT_EQ(cell.style(), 4u);

    sheet.setCachedValue(16, 2, 3.0);
    EXPECT_EQ(sheet.cell(16, 2)->formula, "='Data 3'!RC1 +  .5");
    EXPECT_EQ(std::get<double>(sheet.cell(16, 2)->value()), 3.0);

    // A plain value replaces the formula but not the format.
    sheet.setValue(16, 2, 7.0);
    EXPECT_FALSE(sheet.cell(16, 2)->hasFormula());
    EXPECT_EQ(sheet.cell(16, 2)->style(), 4u);
}

TEST(WorkbookModelTest, ForgetsCellsThatHoldNothing) {
    Worksheet sheet(1, "Data 1");
    sheet.setValue(5, 5, 1.0);
    sheet.setValue(5, 5, std::monostate{});
    EXPECT_EQ(sheet.cell(5, 5), nullptr);
    EXPECT_EQ(sheet.cellCount(), 0u);
    EXPECT_TRUE(sheet.rows().empty());
    EXPECT_FALSE(sheet.usedRange());

    // A formatted empty cell is kept, until it is removed.
    sheet.setStyle(2, 2, 1);
    ASSERT_NE(sheet.cell(2, 2), nullptr);
    sheet.removeCell(2, 2);
    EXPECT_EQ(sheet.cellCount(), 0u);
}

TEST(WorkbookModelTest, RejectsPositionsOutsideTheSheet) {
    Worksheet sheet(1, "Data 1");
    EXPECT_THROW(sheet.setValue(0, 1, 1.0), std::out_of_range);
    EXPECT_THROW(sheet.setValue(1, 0, 1.0), std::out_of_range);
    EXPECT_THROW(sheet.setValue(kMaxRows + 1, 1, 1.0), std::out_of_range);
    EXPECT_THROW(sheet.cell(1, kMaxColumns + 1), std::out_of_range);
    EXPECT_NO_THROW(sheet.setValue(kMaxRows, kMaxColumns, 1.0));
    EXPECT_THROW(sheet.setColumnWidth(1, 256.0), std::out_of_range);
    EXPECT_THROW(sheet.setColumnWidth(1, -1.0), std::out_of_range);
    PageSetup page;
    page.topMargin = std::nan("");
    EXPECT_THROW(sheet.setPageSetup(page), std::invalid_argument);
}

TEST(WorkbookModelTest, DeletingColumnsShiftsCellsAndWidthsLeft) {
    Worksheet sheet(1, "Data 1");
    for (std::uint32_t column = 1; column <= 9; ++column) {
        sheet.setValue(2, column, static_cast<double>(column));
        sheet.setColumnWidth(column, column);
    }
    sheet.setValue(3, 8, std::string("only in H"));
    sheet.deleteColumns(2, 1); // B
    sheet.deleteColumns(6, 2); // the former G and H
    EXPECT_EQ(std::get<double>(sheet.cell(2, 1)->value()), 1.0);
    EXPECT_EQ(std::get<double>(sheet.cell(2, 2)->value()), 3.0);
    EXPECT_EQ(std::get<double>(sheet.cell(2, 6)->value()), 9.0);
    EXPECT_EQ(sheet.cell(2, 7), nullptr);
    EXPECT_FALSE(sheet.rows().contains(3));
    EXPECT_EQ(sheet.cellCount(), 6u);
    EXPECT_EQ(sheet.columnFormat(2)->width, 3.0);
    EXPECT_EQ(sheet.columnFormat(6)->width, 9.0);
    EXPECT_EQ(sheet.columnFormat(7), nullptr);
}

TEST(WorkbookModelTest, EveryChangeBumpsTheRevision) {
    Workbook book;
    auto& sheet = book.addWorksheet("Data 1");
    sheet.setValue(1, 1, 1.0);
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"value", [&] { sheet.setValue(1, 1, 2.0); }},
        {"formula", [&] { sheet.setFormula(1, 2, "=A1", FormulaNotation::A1, 2.0); }},
        {"cached value", [&] { sheet.setCachedValue(1, 2, 3.0); }},
        {"style", [&] { sheet.setStyle(1, 1, 1); }},
        {"whole cell",
         [&] {
             sheet.setCell(4, 4, Cell{1.0, "", 0, FormulaNotation::A1});
         }},
        {"remove", [&] { sheet.removeCell(4, 4); }},
        {"delete columns", [&] { sheet.deleteColumns(3, 1); }},
        {"width", [&] { sheet.setColumnWidth(1, 12.0, true); }},
        {"column style", [&] { sheet.setColumnStyle(2, 1); }},
        {"page setup", [&] { sheet.setPageSetup(PageSetup{}); }},
        {"hidden", [&] { sheet.setHidden(true); }},
        {"name", [&] { book.renameSheet(0, "Data 2"); }},
    };
    for (const auto& [what, change] : changes) {
        const auto before = sheet.revision();
        change();
        EXPECT_GT(sheet.revision(), before) << what;
    }
}

TEST(WorkbookModelTest, EditsBumpTheRevisionEvenWhenTheyFail) {
    Workbook book;
    auto& other = book.addWorksheet("Data 1");
    auto& chart = book.addChartSheet("Data 1 Plot");
    // Revisions come from one counter: no two sheets share one.
    EXPECT_NE(chart.revision(), other.revision());

    auto before = chart.revision();
    chart.editChart([](Chart& c) {
        c.hasLegend = false;
        c.axis(AxisType::Value, AxisGroup::Secondary).hasTitle = true;
    });
    EXPECT_GT(chart.revision(), before);
    EXPECT_FALSE(chart.chart().hasLegend);
    EXPECT_TRUE(chart.chart().axis(AxisType::Value, AxisGroup::Secondary).hasTitle);
    EXPECT_FALSE(chart.chart().axis(AxisType::Value, AxisGroup::Primary).hasTitle);

    before = chart.revision();
    EXPECT_THROW(chart.editChart([](Chart& c) {
        c.series.emplace_back();
        throw std::runtime_error("half way");
    }),
                 std::runtime_error);
    EXPECT_GT(chart.revision(), before);
}

TEST(WorkbookModelTest, KeepsSheetsInOrderWithStableIds) {
    Workbook book;
    auto& data1 = book.addWorksheet("Data 1");
    book.addWorksheet("Data 2");
    book.addChartSheet("Data 1 Plot", 1);
    EXPECT_EQ(book.sheet(1).name(), "Data 1 Plot");
    EXPECT_EQ(book.sheet(1).kind(), SheetKind::ChartSheet);
    EXPECT_EQ(asWorksheet(book.sheet(1)), nullptr);
    ASSERT_NE(asChartSheet(book.sheet(1)), nullptr);

    book.setActiveSheet(0);
    book.moveSheet(0, 2);
    EXPECT_EQ(book.sheet(2).name(), "Data 1");
    EXPECT_EQ(book.activeSheet(), 2u); // the active sheet moved with it
    EXPECT_EQ(book.indexOf("data 1"), 2u);

    const auto removedId = data1.id();
    book.removeSheet(2);
    EXPECT_FALSE(book.activeSheet());
    EXPECT_FALSE(book.indexOf("Data 1"));
    const auto& again = book.addWorksheet("Data 1");
    EXPECT_GT(again.id(), removedId); // ids are never reused
    EXPECT_THROW(book.sheet(3), std::out_of_range);
    EXPECT_THROW(book.addWorksheet("Data 9", 5), std::out_of_range);
}

TEST(WorkbookModelTest, RefusesDuplicateAndInvalidNames) {
    Workbook book;
    book.addWorksheet("Summary");
    EXPECT_THROW(book.addWorksheet("SUMMARY"), std::invalid_argument);
    EXPECT_THROW(book.addChartSheet("summary"), std::invalid_argument);
    book.renameSheet(0, "summary"); // its own name in another case is fine
    EXPECT_EQ(book.sheet(0).name(), "summary");

    for (const std::string& bad :
         std::vector<std::string>{"", "a:b", "a/b", "a\\b", "a?", "a*", "[a]", "'quoted", "quoted'",
                                  "tab\there", std::string(32, 'x'), "bad\xC3"}) {
        EXPECT_THROW(book.addWorksheet(bad), std::invalid_argument) << bad;
    }
    EXPECT_NO_THROW(book.addWorksheet(std::string(31, 'x')));
    EXPECT_NO_THROW(book.addWorksheet("Temp \xC2\xBA"
                                      "C it's"));
    EXPECT_TRUE(sameSheetName("\xC3\x84rger", "\xC3\xA4RGER")); // not only ASCII folds
    EXPECT_EQ(book.sheetCount(), 3u);
}

// Sheets are found by name through an index; every change of names or order must reach it.
TEST(WorkbookModelTest, FindsSheetsByNameThroughEveryChange) {
    Workbook book;
    const auto expectFound = [&](const std::string& what) {
        for (const std::string name :
             {"data 1", "DATA 2", "Data 3 Plot", "Summary", "\xE2\x84\xAA", "k",
              "\xD0\x9F\xD0\xA0\xD0\x95\xD0\xA1\xD0\xA1", "Missing"}) {
            std::optional<std::size_t> scanned;
            for (std::size_t i = 0; i < book.sheetCount(); ++i) {
                if (sameSheetName(book.sheet(i).name(), name)) {
                    scanned = i;
                }
            }
            EXPECT_EQ(book.indexOf(name), scanned) << what << ": " << name;
        }
    };
    book.addWorksheet("Data 1");
    book.addWorksheet("Data 2");
    expectFound("added");
    book.addChartSheet("Data 3 Plot", 0);
    book.addWorksheet("\xD0\xBF\xD1\x80\xD0\xB5\xD1\x81\xD1\x81"); // пресс
    expectFound("inserted in front");
    book.moveSheet(0, 3);
    expectFound("moved");
    book.renameSheet(1, "Summary");
    book.addWorksheet("K"); // the Kelvin sign's name, in the Latin letter
    expectFound("renamed");
    auto taken = book.takeSheet(0);
    expectFound("taken out");
    book.putBackSheet(std::move(taken));
    book.removeSheet(1);
    expectFound("put back and removed");
}

TEST(WorkbookModelTest, NamesColumnsAndCells) {
    EXPECT_EQ(columnName(1), "A");
    EXPECT_EQ(columnName(26), "Z");
    EXPECT_EQ(columnName(27), "AA");
    EXPECT_EQ(columnName(702), "ZZ");
    EXPECT_EQ(columnName(703), "AAA");
    EXPECT_EQ(columnName(kMaxColumns), "XFD");
    EXPECT_EQ(cellName(111, 2), "B111");
}

} // namespace
} // namespace kelvor
