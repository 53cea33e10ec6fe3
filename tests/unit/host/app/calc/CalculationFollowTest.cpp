// Calculation of what changed only must give what calculating everything gives: two twin
// workbooks take the same edits, one calculated with what earlier runs kept, the other by a
// calculation that has nothing kept, and every cell is compared after each edit.
#include "host/app/calc/Calculation.h"
#include "host/model/Workbook.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvor {
namespace {

using Edit = std::function<void(Workbook&)>;

Worksheet& sheetNamed(Workbook& book, const std::string& name) {
    return *asWorksheet(book.sheet(book.indexOf(name).value()));
}

void formula(Worksheet& sheet, std::uint32_t row, std::uint32_t column, const std::string& text) {
    sheet.setFormula(row, column, text, FormulaNotation::R1C1);
}

void build(Workbook& book) {
    auto& one = book.addWorksheet("Data 1");
    auto& two = book.addWorksheet("Data 2");
    auto& offsets = book.addWorksheet("Offsets");
    auto& chain = book.addWorksheet("Chain");
    for (std::uint32_t row = 1; row <= 20; ++row) {
        one.setValue(row, 1, 0.5 * row);
        two.setValue(row, 1, 100.0 - row);
        formula(offsets, row, 1, "='Data 1'!RC1 +  .5");
        formula(offsets, row, 2, "='Data 2'!RC1 +  1");
        formula(chain, row, 1, "=Offsets!RC1*Offsets!RC2");
        formula(chain, row, 2, "=RC[-1]-1"); // its own sheet, a result of a result
    }
    formula(chain, 1, 5, "=Later!R1C1+1"); // no such sheet yet
    chain.setValue(2, 5, std::string("10:30"));
    formula(chain, 3, 5, "=TIMEVALUE(R[-1]C)");
}

class CalculationFollowTest : public ::testing::Test {
protected:
    CalculationFollowTest() {
        build(following);
        build(full);
        check("built");
    }

    void edit(const std::string& what, const Edit& change) {
        change(following);
        change(full);
        check(what);
    }

    void check(const std::string& what) {
        calculateWorkbook(following, kept);
        FormulaCache nothingKept;
        calculateWorkbook(full, nothingKept);
        ASSERT_EQ(following.sheetCount(), full.sheetCount()) << what;
        for (std::size_t i = 0; i < full.sheetCount(); ++i) {
            const auto* a = asWorksheet(following.sheet(i));
            const auto* b = asWorksheet(full.sheet(i));
            ASSERT_EQ(a->rows().size(), b->rows().size()) << what;
            for (const auto& [row, cells] : b->rows()) {
                for (const auto& [column, cell] : cells) {
                    const Cell* other = a->cell(row, column);
                    ASSERT_NE(other, nullptr) << what;
                    EXPECT_EQ(other->value(), cell.value())
                        << what << ": " << b->name() << " R" << row << "C" << column;
                }
            }
        }
    }

    Workbook following;
    Workbook full;
    FormulaCache kept;
};

TEST_F(CalculationFollowTest, EveryEditGivesTheFullCalculationsResults) {
    edit("nothing", [](Workbook&) {});
    edit("a value read through two formulas",
         [](Workbook& book) { sheetNamed(book, "Data 1").setValue(7, 1, 1000.0); });
    edit("a new column", [](Workbook& book) {
        auto& offsets = sheetNamed(book, "Offsets");
        for (std::uint32_t row = 1; row <= 20; ++row) {
            formula(offsets, row, 3, "='Data 2'!RC1 +  2");
        }
    });
    edit("a cell given the formula its column already has", [](Workbook& book) {
        formula(sheetNamed(book, "Chain"), 21, 1, "=Offsets!RC1*Offsets!RC2");
        sheetNamed(book, "Offsets").setValue(21, 1, 3.0);
    });
    edit("the missing sheet added",
         [](Workbook& book) { book.addWorksheet("Later").setValue(1, 1, 41.0); });
    edit("a read sheet renamed",
         [](Workbook& book) { book.renameSheet(book.indexOf("Data 2").value(), "Data 2b"); });
    edit("columns deleted under formulas",
         [](Workbook& book) { sheetNamed(book, "Offsets").deleteColumns(1, 1); });
    edit("a text read by TIMEVALUE",
         [](Workbook& book) { sheetNamed(book, "Chain").setValue(2, 5, std::string("18:00")); });
    edit("a read sheet removed",
         [](Workbook& book) { book.removeSheet(book.indexOf("Data 1").value()); });
}

TEST_F(CalculationFollowTest, ACircularReferenceIsCalculatedInTheFullOrder) {
    edit("a cycle", [](Workbook& book) {
        auto& chain = sheetNamed(book, "Chain");
        formula(chain, 30, 1, "=R[1]C+1");
        formula(chain, 31, 1, "=R[-1]C+1");
    });
    edit("a value beside it", [](Workbook& book) {
        sheetNamed(book, "Data 1").setValue(3, 1, -4.0);
        formula(sheetNamed(book, "Chain"), 31, 1, "=R[-1]C+2");
    });
}

TEST_F(CalculationFollowTest, FormulasWhoseSheetsDidNotChangeAreNotCalculatedAgain) {
    auto& lonely = following.addWorksheet("Lonely");
    formula(lonely, 1, 1, "='Data 1'!R2C1*2");
    calculateWorkbook(following, kept);
    // A result no calculation would give stands while nothing its formula reads changes ...
    lonely.setCachedValue(*lonely.cell(1, 1), 99.0);
    sheetNamed(following, "Data 2").setValue(1, 1, 7.0);
    calculateWorkbook(following, kept);
    EXPECT_EQ(lonely.cell(1, 1)->value(), CellValue(99.0));
    EXPECT_EQ(sheetNamed(following, "Offsets").cell(1, 2)->value(), CellValue(8.0));
    // ... and goes once it does.
    sheetNamed(following, "Data 1").setValue(20, 1, 1.0);
    calculateWorkbook(following, kept);
    EXPECT_EQ(lonely.cell(1, 1)->value(), CellValue(2.0));
}

// A summary plot's offset sheet: one formula column per test, each reading its own data
// sheet, with sheets reading the offsets in turn. Calculation walks only the columns that
// changed or read a change, and must still give what calculating everything gives.
TEST_F(CalculationFollowTest, AWideSheetOfColumnsFollowsTheOneColumnAnEditReaches) {
    const auto widen = [](Workbook& book) {
        auto& wide = book.addWorksheet("Wide");
        auto& reader = book.addWorksheet("Reader");
        for (std::uint32_t column = 1; column <= 12; ++column) {
            const std::string source = column % 2 == 1 ? "'Data 1'" : "Chain";
            for (std::uint32_t row = 1; row <= 20; ++row) {
                formula(wide, row, column, "=" + source + "!RC1 + " + std::to_string(column));
            }
        }
        for (std::uint32_t row = 1; row <= 20; ++row) {
            formula(reader, row, 1, "=Wide!RC3*2");
            formula(reader, row, 2, "=Wide!RC4-Wide!RC12");
        }
    };
    edit("widened", widen);
    edit("nothing", [](Workbook&) {});
    edit("one column's source",
         [](Workbook& book) { sheetNamed(book, "Data 1").setValue(4, 1, 8.0); });
    // Data 2 -> Offsets -> Chain -> the even columns -> Reader: all in one calculation.
    edit("a source three formulas away",
         [](Workbook& book) { sheetNamed(book, "Data 2").setValue(5, 1, -3.0); });
    edit("a column added", [](Workbook& book) {
        auto& wide = sheetNamed(book, "Wide");
        for (std::uint32_t row = 1; row <= 20; ++row) {
            formula(wide, row, 13, "='Data 2'!RC1 + 13");
        }
        formula(sheetNamed(book, "Reader"), 1, 3, "=Wide!R20C13+Wide!R1C13");
    });
    edit("one cell of a passed column overwritten",
         [](Workbook& book) { sheetNamed(book, "Wide").setValue(6, 5, 1234.0); });
    edit("a formula put back in it",
         [](Workbook& book) { formula(sheetNamed(book, "Wide"), 6, 5, "='Data 1'!RC1 + 5"); });
    edit("a source renamed away",
         [](Workbook& book) { book.renameSheet(book.indexOf("Data 1").value(), "Data 1 old"); });
    edit("and another one given its name",
         [](Workbook& book) { book.addWorksheet("Data 1").setValue(3, 1, 77.0); });
    edit("columns deleted", [](Workbook& book) { sheetNamed(book, "Wide").deleteColumns(2, 3); });
}

} // namespace
} // namespace kelvor
