// What calculation keeps belongs to one workbook: a workbook made later, even in the memory of
// a removed one, starts with nothing kept, and removing a workbook lets go of what was kept.
// A sheet set aside keeps it while aside: put back, its formulas are not all calculated again.
#include "TestFiles.h"

#include "host/app/calc/Calculation.h"
#include "host/app/state/ApplicationState.h"
#include "host/app/state/SheetsAside.h"

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

// The summary's offset sheet is set aside at every export and put back behind the new data
// sheet; were what its columns were calculated from lost meanwhile, every export would
// calculate every earlier test's offsets again.
TEST(FormulaCacheTest, ASheetSetAsideKeepsWhatItsFormulasWereCalculatedFrom) {
    test::TempDir dir;
    ApplicationState app(
        dir.path(), [](const std::string&) {}, BuiltinOptions{});
    auto book = app.addBook();
    auto& model = book->model;
    auto& data = model.addWorksheet("Data");
    auto& offsets = model.addWorksheet("Offsets");
    for (std::uint32_t row = 1; row <= 5; ++row) {
        data.setValue(row, 1, row * 1.5);
        offsets.setFormula(row, 1, "='Data'!RC1 + 1", FormulaNotation::R1C1);
        offsets.setFormula(row, 2, "='Data'!RC1 + 2", FormulaNotation::R1C1);
    }
    book->hasFormulas = true;
    app.calculate(*book);
    const auto offsetsKey = offsets.key();
    const auto groupsKept = [&] {
        std::size_t groups = 0;
        for (const auto& [key, stamps] : app.formulas.groupStamps(model)) {
            groups += key.first == offsetsKey ? 1 : 0;
        }
        return groups;
    };
    ASSERT_EQ(groupsKept(), 2U);

    const auto token = markSheets(*book, model.sheetCount() - 1);
    setSheetAside(app, *book, *model.indexOf("Offsets"));
    model.addWorksheet("Later").setValue(1, 1, 7.0); // the export's new sheet
    app.edited(*book);
    app.calculate(*book);
    EXPECT_EQ(groupsKept(), 2U);
    EXPECT_TRUE(app.formulas.formulaColumns(model).contains(offsetsKey));

    ASSERT_TRUE(putSheetsBack(*book, token, 1));
    app.edited(*book);
    app.calculate(*book);
    EXPECT_EQ(groupsKept(), 2U);
    EXPECT_TRUE(app.formulas.formulaColumns(model).contains(offsetsKey));

    // Kept is not taken for current: what they read changes, and they follow.
    data.setValue(3, 1, 10.0);
    app.edited(*book);
    app.calculate(*book);
    const auto& back = *asWorksheet(model.sheet(*model.indexOf("Offsets")));
    EXPECT_DOUBLE_EQ(*back.cell(3, 1)->number(), 11.0);
    EXPECT_DOUBLE_EQ(*back.cell(3, 2)->number(), 12.0);
    EXPECT_DOUBLE_EQ(*back.cell(4, 2)->number(), 8.0);
}

} // namespace
} // namespace kelvor
