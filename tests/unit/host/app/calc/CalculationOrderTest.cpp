// Calculation walks formula columns down and remembers sheets without formulas; the results
// must not depend on either.
#include "host/app/calc/Calculation.h"
#include "host/model/Workbook.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

double number(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    return std::get<double>(sheet.cell(row, column)->value());
}

TEST(CalculationOrderTest, ColumnsReferringToOtherSheetsRowByRow) {
    Workbook book;
    auto& data = book.addWorksheet("Data 1");
    auto& more = book.addWorksheet("Data 2");
    auto& offsets = book.addWorksheet("Summary XOffset");
    for (std::uint32_t row = 16; row <= 30; ++row) {
        if (row != 20) { // a row without data
            data.setValue(row, 1, 1.0 * row);
        }
        more.setValue(row + 1, 1, 100.0 + row); // one row lower
        offsets.setFormula(row, 1, "='Data 1'!RC1 +  .5", FormulaNotation::R1C1);
        offsets.setFormula(row, 2, "='Data 2'!RC1 +  1", FormulaNotation::R1C1);
        offsets.setFormula(row, 3, "=RC[-2]+RC[-1]", FormulaNotation::R1C1); // later columns
    }
    offsets.setFormula(31, 1, "=R[-1]C3", FormulaNotation::R1C1); // a result of a result
    FormulaCache cache;
    calculateWorkbook(book, cache);
    EXPECT_EQ(number(offsets, 16, 1), 16.5);
    EXPECT_EQ(number(offsets, 20, 1), 0.5); // the empty cell counts 0
    EXPECT_EQ(number(offsets, 16, 2), 1.0); // Data 2 starts at row 17
    EXPECT_EQ(number(offsets, 17, 2), 117.0);
    EXPECT_EQ(number(offsets, 30, 3), 30.5 + 130.0);
    EXPECT_EQ(number(offsets, 31, 1), 30.5 + 130.0);

    // A sheet found without formulas is looked at again once it changes.
    calculateWorkbook(book, cache);
    data.setFormula(1, 2, "=R16C1*2", FormulaNotation::R1C1);
    data.setValue(16, 1, 1000.0);
    calculateWorkbook(book, cache);
    EXPECT_EQ(number(data, 1, 2), 2000.0);
    EXPECT_EQ(number(offsets, 16, 1), 1000.5);
}

TEST(CalculationOrderTest, CircularReferencesAcrossColumnsEndInZero) {
    Workbook book;
    auto& sheet = book.addWorksheet("Sheet1");
    sheet.setFormula(1, 1, "=RC[1]+1", FormulaNotation::R1C1);
    sheet.setFormula(1, 2, "=RC[-1]+1", FormulaNotation::R1C1);
    FormulaCache cache;
    calculateWorkbook(book, cache);
    // One of the two sees the other's unfinished value, 0; both end with a number.
    EXPECT_EQ(number(sheet, 1, 1) + number(sheet, 1, 2), 3.0);
}

} // namespace
} // namespace kelvor
