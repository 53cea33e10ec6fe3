// The worksheet finds rows from the one it used last; rows that come and go must not leave it
// pointing at a row that is gone.
#include "host/model/Worksheet.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

double number(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    const Cell* cell = sheet.cell(row, column);
    return cell == nullptr ? -1 : std::get<double>(cell->value);
}

TEST(WorksheetRowLookup, RowsComeAndGoInAnyOrder) {
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

TEST(WorksheetRowLookup, FormulaResultsGoIntoTheirCells) {
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
