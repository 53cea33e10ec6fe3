// The worksheet finds rows from the one it used last; rows that come and go must not leave it
// pointing at a row that is gone.
#include "host/model/Worksheet.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

double number(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    const Cell* cell = sheet.cell(row, column);
    return cell == nullptr ? -1 : std::get<double>(cell->value());
}

TEST(WorksheetRowLookupTest, RowsComeAndGoInAnyOrder) {
    Worksheet sheet(1, "Data 1");
    for (std::uint32_t row = 1; row <= 5; ++row) {
        sheet.setValue(row, 1, 1.0 * row);
    }
    EXPECT_EQ(number(sheet, 3, 1), 3);
    sheet.removeCell(3, 1); // the row looked at last goes
    EXPECT_EQ(sheet.cell(3, 1), nullptr);
    EXPECT_EQ(number(sheet, 4, 1), 4);
    EXPECT_EQ(number(sheet, 2, 1), 2);
    sheet.setValue(3, 2, 33.0); // back, in another column, between its neighbours
    EXPECT_EQ(number(sheet, 3, 2), 33);
    EXPECT_EQ(sheet.rows().size(), 5u);

    sheet.setValue(10, 1, 10.0); // added far below, then above
    sheet.setValue(7, 1, 7.0);
    EXPECT_EQ(number(sheet, 7, 1), 7);
    EXPECT_EQ(number(sheet, 10, 1), 10);
    EXPECT_EQ(sheet.cell(8, 1), nullptr);

    sheet.deleteColumns(2, 1); // row 3 held only column B: it goes too
    EXPECT_EQ(sheet.cell(3, 1), nullptr);
    EXPECT_EQ(sheet.cell(3, 2), nullptr);
    EXPECT_EQ(number(sheet, 4, 1), 4);
    sheet.deleteColumns(1, 1); // every row goes
    EXPECT_TRUE(sheet.rows().empty());
    EXPECT_EQ(sheet.cell(4, 1), nullptr);
    sheet.setValue(4, 1, 44.0);
    EXPECT_EQ(number(sheet, 4, 1), 44);
    EXPECT_EQ(sheet.cellCount(), 1u);
}

TEST(WorksheetRowLookupTest, CellsStayPutWhileRowsAreAddedAboveAndBelow) {
    Worksheet sheet(1, "Data 1");
    sheet.setValue(500, 1, 5.0);
    sheet.setValue(500, 2, CellValue{"five hundred"});
    const Cell* held = sheet.cell(500, 2);
    for (std::uint32_t k = 1; k <= 500; ++k) { // above all others, and below them
        if (k < 500) {
            sheet.setValue(500 - k, 1, 500.0 - k);
        }
        sheet.setValue(500 + k, 1, 500.0 + k);
    }
    EXPECT_EQ(sheet.cell(500, 2), held);
    EXPECT_EQ(held->value(), CellValue{"five hundred"});
    for (std::uint32_t row = 1; row <= 1000; ++row) {
        ASSERT_EQ(number(sheet, row, 1), row == 500 ? 5 : row) << row;
    }
    std::uint32_t previous = 0;
    for (const auto& [row, cells] : sheet.rows()) {
        ASSERT_LT(previous, row);
        previous = row;
    }
    EXPECT_EQ(sheet.rows().size(), 1000u);
    EXPECT_EQ(sheet.usedRange(), (CellRange{1, 1, 1000, 2}));
}

TEST(WorksheetRowLookupTest, TextsAreSharedByCopiesAndOutliveTheirCells) {
    Worksheet sheet(1, "Data 1");
    sheet.setValue(1, 1, CellValue{std::string(100, 'x')});
    const Cell copy = *sheet.cell(1, 1);
    sheet.setValue(1, 1, CellValue{"other"});
    sheet.setValue(2, 1, copy.value());
    EXPECT_EQ(*textOf(sheet.cell(2, 1)->value()), std::string(100, 'x'));
    EXPECT_TRUE(std::get<SharedText>(copy.value())
                    .sharedWith(std::get<SharedText>(sheet.cell(2, 1)->value())));
    EXPECT_EQ(*textOf(sheet.cell(1, 1)->value()), "other");
    sheet.setValue(3, 1, CellValue{""}); // an empty text is still a text
    ASSERT_NE(sheet.cell(3, 1), nullptr);
    EXPECT_EQ(*textOf(sheet.cell(3, 1)->value()), "");
}

TEST(WorksheetRowLookupTest, FormulaResultsGoIntoTheirCells) {
    Worksheet sheet(1, "Summary XOffset");
    sheet.setFormula(16, 2, "=1", FormulaNotation::R1C1);
    const auto before = sheet.revision();
    sheet.setCachedValue(*sheet.cell(16, 2), 1.0);
    EXPECT_EQ(number(sheet, 16, 2), 1);
    EXPECT_EQ(sheet.cell(16, 2)->formula, "=1");
    EXPECT_NE(sheet.revision(), before);
    sheet.setFormula(16, 2, "", FormulaNotation::R1C1); // no formula, no value: gone
    EXPECT_EQ(sheet.cell(16, 2), nullptr);
}

} // namespace
} // namespace kelvor
