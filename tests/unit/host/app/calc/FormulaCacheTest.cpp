// What calculation keeps belongs to one workbook: a workbook made later, even in the memory of
// a removed one, starts with nothing kept, and removing a workbook lets go of what was kept.
#include "TestFiles.h"

#include "host/app/calc/Calculation.h"
#include "host/app/state/ApplicationState.h"

#include <gtest/gtest.h>

#include <optional>

namespace kelvor {
namespace {

void addFormulas(Workbook& book) {
    auto& sheet = book.addWorksheet("Offsets");
    for (std::uint32_t row = 1; row <= 5; ++row) {
        sheet.setValue(row, 1, row * 1.5);
        sheet.setFormula(row, 2, "=RC1+1", FormulaNotation::R1C1);
    }
}

TEST(FormulaCacheTest, AWorkbookInARemovedOnesPlaceStartsWithNothingKept) {
    FormulaCache cache;
    std::optional<Workbook> book(std::in_place, "Book1");
    addFormulas(*book);
    calculateWorkbook(*book, cache);
    ASSERT_FALSE(cache.groupStamps(*book).empty());

    book.emplace("Book2"); // the same address
    EXPECT_TRUE(cache.groupStamps(*book).empty());
}

TEST(FormulaCacheTest, RemovingAWorkbookForgetsWhatItsCalculationKept) {
    test::TempDir dir;
    ApplicationState app(
        dir.path(), [](const std::string&) {}, BuiltinOptions{});
    auto first = app.addBook();
    auto second = app.addBook();
    for (const auto& book : {first, second}) {
        addFormulas(book->model);
        book->hasFormulas = true;
        app.calculate(*book);
    }
    ASSERT_TRUE(app.formulas.keeps(first->model));
    app.removeBook(*first);
    EXPECT_FALSE(app.formulas.keeps(first->model));
    EXPECT_TRUE(app.formulas.keeps(second->model));
    EXPECT_DOUBLE_EQ(std::get<double>(asWorksheet(second->model.sheet(1))->cell(2, 2)->value()),
                     4.0);
}

} // namespace
} // namespace kelvor
