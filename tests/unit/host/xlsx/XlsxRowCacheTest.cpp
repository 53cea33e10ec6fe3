// A writer kept between writes makes only the rows that changed; its packages must hold, part
// by part, exactly what a writer seeing the workbook for the first time writes.
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/XlsxWriter.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

using RowWork = WorksheetPartCache::RowWork;

std::string offsetFormula(std::uint32_t column) {
    return "='Data 1'!RC1 + " + std::to_string(column) + ".5";
}

class XlsxRowCacheTest : public testing::Test {
protected:
    XlsxRowCacheTest() {
        auto& data = book.addWorksheet("Data 1");
        for (std::uint32_t row = 1; row <= kRows; ++row) {
            data.setValue(row, 1, row * 0.5);
            data.setValue(row, 2, std::string("text ") + std::to_string(row));
        }
        for (std::uint32_t column = 1; column <= 3; ++column) {
            addOffsetColumn(column);
        }
    }

    Worksheet& offsets() { return *asWorksheet(book.sheet(*book.indexOf("Offsets"))); }

    // The summary's way: one more column of one R1C1 formula down every row.
    void addOffsetColumn(std::uint32_t column) {
        if (!book.indexOf("Offsets")) {
            book.addWorksheet("Offsets");
        }
        const FormulaText formula = offsetFormula(column);
        for (std::uint32_t row = 1; row <= kRows; ++row) {
            offsets().setFormula(row, column, formula, FormulaNotation::R1C1, row + column * 0.5);
        }
    }

    // Writes with the kept writer and with a fresh one, and compares every part's content.
    void writeAndCompare(const std::string& step) {
        SCOPED_TRACE(step);
        kept.write(book, keptFile);
        XlsxWriter fresh;
        fresh.write(book, freshFile);
        const auto keptParts = test::readPackage(keptFile);
        const auto freshParts = test::readPackage(freshFile);
        ASSERT_EQ(keptParts.size(), freshParts.size());
        for (const auto& [name, entry] : freshParts) {
            if (name == "docProps/core.xml") {
                continue; // the time each writer was made
            }
            ASSERT_TRUE(keptParts.contains(name)) << name;
            EXPECT_EQ(keptParts.at(name).content, entry.content) << name;
        }
    }

    static constexpr std::uint32_t kRows = 40;
    test::TempDir dir;
    std::filesystem::path keptFile = dir.path() / "kept.xlsx";
    std::filesystem::path freshFile = dir.path() / "fresh.xlsx";
    Workbook book;
    XlsxWriter kept;
};

TEST_F(XlsxRowCacheTest, ColumnsAddedToEveryRowMakeOnlyTheNewCells) {
    writeAndCompare("first sight: one stream");
    // Past the stored additions a row may collect, and back to a plain state.
    for (std::uint32_t column = 4; column <= 24; ++column) {
        addOffsetColumn(column);
        writeAndCompare("column " + std::to_string(column));
        const auto work = kept.rowWork();
        EXPECT_EQ(work.made + work.extended, kRows);
        EXPECT_EQ(work.kept, 0u);
        if (column == 4) {
            EXPECT_EQ(work.made, kRows); // second sight: rows kept as pieces from now on
        }
        if (column == 5) {
            EXPECT_EQ(work.extended, kRows);
        }
    }
    // A calculation's new results for the last column only.
    for (std::uint32_t row = 1; row <= kRows; ++row) {
        const Cell& cell = *offsets().cell(row, 24);
        offsets().setCachedValue(cell, 7.0 + row, row, 24);
    }
    writeAndCompare("new results at the end");
    writeAndCompare("nothing changed");
    EXPECT_EQ(kept.rowWork(), (RowWork{}));
}

TEST_F(XlsxRowCacheTest, EditsInsideRowsAndSheetsAreWrittenAsAFreshWriterWritesThem) {
    writeAndCompare("first sight");
    addOffsetColumn(4);
    writeAndCompare("second sight");

    offsets().setValue(20, 2, 99.0);
    writeAndCompare("a value in the middle, breaking a shared formula");
    EXPECT_GT(kept.rowWork().made, 1u); // the split run's halves, the runs numbered anew

    offsets().setFormula(kRows + 1, 4, offsetFormula(4), FormulaNotation::R1C1, 1.0);
    writeAndCompare("a run longer at its bottom: its top cell's range changes");

    const auto bold = book.styles().intern(
        Style{"0.00", HorizontalAlignment::Right, false, Font{"Arial", 10.0, true}});
    offsets().setStyle(10, 1, bold);
    writeAndCompare("a style changed in the middle");

    // Heights follow a change of the cells, not necessarily in their own rows.
    offsets().setValue(kRows + 1, 1, 1.0);
    offsets().setRowHeights({{5, 25.5}, {30, 13.5}});
    writeAndCompare("row heights set");
    EXPECT_EQ(kept.rowWork().made, 3u);
    offsets().setValue(kRows + 1, 1, 2.0);
    offsets().setRowHeights({{5, 25.5}});
    writeAndCompare("a row height dropped");
    EXPECT_EQ(kept.rowWork().made, 2u);

    offsets().removeCell(7, 4);
    writeAndCompare("the last cell of a row removed");
    offsets().removeCell(8, 1);
    writeAndCompare("the first cell of a row removed");

    const Cell& somewhere = *offsets().cell(12, 2);
    offsets().setCachedValue(somewhere, 5.0, 2);
    writeAndCompare("a result stored without its row");

    offsets().deleteColumns(2, 1);
    writeAndCompare("a column deleted");

    // Set aside and put back under a new id: the rows stay what they were.
    book.putBackSheet(book.takeSheet(*book.indexOf("Offsets")));
    addOffsetColumn(5);
    writeAndCompare("put back and a column added");
    EXPECT_EQ(kept.rowWork().extended, kRows);
    EXPECT_EQ(kept.rowWork().kept, 1u); // the row below the others

    // Made anew under the same name: nothing of the old sheet may be taken.
    book.removeSheet(*book.indexOf("Offsets"));
    for (std::uint32_t column = 1; column <= 5; ++column) {
        addOffsetColumn(column);
    }
    writeAndCompare("made anew under its name");
    addOffsetColumn(6);
    writeAndCompare("and a column more");

    auto& data = *asWorksheet(book.sheet(*book.indexOf("Data 1")));
    data.setValue(3, 2, std::string("changed"));
    writeAndCompare("a data sheet edited");
    // Unchanged through the writes before, it was forgotten: written whole, kept from now on.
    EXPECT_EQ(kept.rowWork(), (RowWork{kRows, 0, 0}));
    data.setValue(4, 2, std::string("changed again"));
    writeAndCompare("edited again");
    EXPECT_EQ(kept.rowWork(), (RowWork{kRows, 0, 0}));
    data.setValue(5, 1, 5.25);
    writeAndCompare("and once more");
    // The edited row's group of rows is made again, the others are kept.
    constexpr auto group = Worksheet::kRowsPerRevision;
    EXPECT_EQ(kept.rowWork(), (RowWork{group, 0, kRows - group}));

    book.removeSheet(*book.indexOf("Data 1"));
    writeAndCompare("a sheet removed");
}

} // namespace
} // namespace kelvor
