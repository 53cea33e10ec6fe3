// A sheet's cells lie in room the sheet hands out itself; cells must come back as they were put,
// whatever order rows and cells come and go in, and the room given back must be used again.
#include "host/model/CellBlocks.h"
#include "host/model/Worksheet.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>

namespace kelvor {
namespace {

using Expected = std::map<std::pair<std::uint32_t, std::uint32_t>, CellValue>;

void expectSame(const Worksheet& sheet, const Expected& expected, const std::string& what) {
    ASSERT_EQ(sheet.cellCount(), expected.size()) << what;
    auto next = expected.begin();
    for (const auto& [row, cells] : sheet.rows()) {
        ASSERT_FALSE(cells.empty()) << what << ": row " << row << " kept without cells";
        for (const auto& [column, cell] : cells) {
            ASSERT_NE(next, expected.end()) << what;
            ASSERT_EQ((std::pair{row, column}), next->first) << what;
            ASSERT_EQ(cell.value(), next->second) << what << " R" << row << "C" << column;
            ++next;
        }
    }
    EXPECT_EQ(next, expected.end()) << what;
}

TEST(RowTableTest, CellsMatchAPlainMapThroughRandomChanges) {
    std::mt19937 random(20261208);
    Worksheet sheet(1, "Data 1");
    Expected expected;
    for (int step = 0; step < 20000; ++step) {
        // Rows of one to forty cells: both the shared small room and room of its own.
        const auto row = static_cast<std::uint32_t>(random() % 60 + 1);
        const auto column = static_cast<std::uint32_t>(random() % (row % 3 == 0 ? 40 : 5) + 1);
        switch (random() % 10) {
        case 0:
        case 1:
            sheet.removeCell(row, column);
            expected.erase({row, column});
            break;
        case 2: {
            const CellValue text{std::string(row % 7 == 0 ? 40 : 3, 'a') + std::to_string(step)};
            sheet.setValue(row, column, text);
            expected[{row, column}] = text;
            break;
        }
        default:
            sheet.setValue(row, column, static_cast<double>(step));
            expected[{row, column}] = static_cast<double>(step);
        }
        if (step % 5000 == 4999) {
            const auto first = static_cast<std::uint32_t>(random() % 10 + 1);
            sheet.deleteColumns(first, 3);
            Expected shifted;
            for (auto& [at, value] : expected) {
                if (at.second < first) {
                    shifted.emplace(at, value);
                } else if (at.second >= first + 3) {
                    shifted.emplace(std::pair{at.first, at.second - 3}, value);
                }
            }
            expected = std::move(shifted);
        }
        if (step % 1000 == 999) {
            expectSame(sheet, expected, "after step " + std::to_string(step));
        }
    }
    expectSame(sheet, expected, "at the end");
}

TEST(RowTableTest, ATableMovedKeepsItsCellsWhereTheyWere) {
    RowTable table;
    const auto row = table.insert(table.end(), 4);
    table.insertCell(row, 0, 9).cell.setValue(CellValue{"nine"});
    table.insertCell(table.begin(), 0, 2).cell.setValue(2.0);
    const Cell* held = &table.at(4)[1].cell;
    RowTable moved = std::move(table);
    EXPECT_TRUE(table.empty()); // NOLINT(bugprone-use-after-move): left empty, not unknown
    ASSERT_EQ(moved.at(4).size(), 2u);
    EXPECT_EQ(&moved.at(4)[1].cell, held);
    EXPECT_EQ(held->value(), CellValue{"nine"});
    RowTable other;
    other.insert(other.end(), 1);
    other.insertCell(other.begin(), 0, 1).cell.setValue(CellValue{"dropped"});
    other = std::move(moved);
    EXPECT_FALSE(other.contains(1));
    EXPECT_EQ(other.at(4)[0].column, 2u);
}

TEST(RowTableTest, ACellKeepsItsColumnAndContentBesideItsNeighbours) {
    // The column lies in the cell's spare bytes: writing a cell must not touch it.
    Worksheet sheet(1, "Summary");
    for (std::uint32_t column = 16384; column >= 16380; --column) {
        sheet.setFormula(7, column, "=R1C1", FormulaNotation::R1C1, 1.0 * column);
        sheet.setStyle(7, column, column - 16000); // any marker a cell format can be
    }
    Cell replaced;
    replaced.setValue(CellValue{"text"});
    replaced.setStyle(3);
    replaced.setCalculated(true);
    sheet.setCell(7, 16382, replaced);
    const auto cells = sheet.rows().at(7);
    ASSERT_EQ(cells.size(), 5u);
    for (std::uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(cells[i].column, 16380 + i);
    }
    EXPECT_EQ(sheet.cell(7, 16382)->value(), CellValue{"text"});
    EXPECT_FALSE(sheet.cell(7, 16382)->calculated()); // a cell set anew is calculated again
    EXPECT_EQ(sheet.cell(7, 16384)->formula, "=R1C1");
    EXPECT_EQ(sheet.cell(7, 16384)->style(), 384u);
    EXPECT_EQ(sheet.usedRange(), (CellRange{7, 16380, 7, 16384}));
}

TEST(RowTableTest, RoomGivenBackIsUsedAgainBySmallRowsOnly) {
    CellBlocks blocks;
    ColumnCell* two = blocks.allocate(2);
    ColumnCell* other = blocks.allocate(2);
    EXPECT_NE(two, other);
    blocks.release(two, 2);
    EXPECT_NE(blocks.allocate(3), two); // room of another size stays apart
    EXPECT_EQ(blocks.allocate(2), two);
    // Many small rows: each gets room of its own, none overlapping the last.
    ColumnCell* last = blocks.allocate(1);
    for (int i = 0; i < 1000; ++i) {
        ColumnCell* next = blocks.allocate(1);
        EXPECT_TRUE(next >= last + 1 || next + 1 <= last);
        last = next;
    }
    ColumnCell* large = blocks.allocate(100);
    blocks.release(large, 100);
    blocks.release(other, 2);
}

// A row keeps its room's address, capacity and size in one word: the widest row there is, and
// a row shrinking from long room to a few cells and growing again in it, keep every cell.
TEST(RowTableTest, TheWidestRowAndRowsThatShrinkKeepTheirCellsInPlace) {
    Worksheet sheet(1, "Summary XOffset");
    for (std::uint32_t column = 16384; column >= 1; --column) { // each one in front
        sheet.setValue(2, column, 1.0 * column);
    }
    sheet.setValue(1, 1, 1.0);
    sheet.setValue(3, 5, CellValue{"after"});
    ASSERT_EQ(sheet.rows().at(2).size(), 16384u);
    for (const auto& [row, cells] : sheet.rows()) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(cells.data()) % CellBlocks::kAlignment, 0u);
    }
    const ColumnCell* room = sheet.rows().at(2).data();
    for (std::uint32_t column = 1; column <= 16380; ++column) {
        sheet.removeCell(2, column);
    }
    ASSERT_EQ(sheet.rows().at(2).size(), 4u);
    EXPECT_EQ(sheet.rows().at(2).data(), room); // a row that shrinks keeps its room
    EXPECT_EQ(sheet.cell(2, 16384)->value(), CellValue{16384.0});
    EXPECT_EQ(sheet.cell(2, 16381)->value(), CellValue{16381.0});
    sheet.setValue(2, 7, 7.0); // into the long room left over
    EXPECT_EQ(sheet.rows().at(2).data(), room);
    EXPECT_EQ(sheet.cell(2, 16384)->value(), CellValue{16384.0});
    EXPECT_EQ(sheet.cell(1, 1)->value(), CellValue{1.0});
    EXPECT_EQ(sheet.cell(3, 5)->value(), CellValue{"after"});
    EXPECT_EQ(sheet.cellCount(), 7u);
}

TEST(RowTableTest, RowsGrowingOneCellATimeKeepEveryCell) {
    // A summary's rows gain a cell per test; the offset sheet's a formula per test.
    Worksheet sheet(1, "Summary XOffset");
    for (std::uint32_t test = 1; test <= 300; ++test) {
        for (std::uint32_t row = 1; row <= 20; ++row) {
            sheet.setFormula(row, test, "=RC1+" + std::to_string(test), FormulaNotation::R1C1,
                             1.0 * row * test);
        }
    }
    EXPECT_EQ(sheet.cellCount(), 6000u);
    for (std::uint32_t row = 1; row <= 20; ++row) {
        ASSERT_EQ(sheet.rows().at(row).size(), 300u);
        for (std::uint32_t test = 1; test <= 300; test += 37) {
            EXPECT_EQ(sheet.cell(row, test)->value(), CellValue{1.0 * row * test});
            EXPECT_EQ(sheet.cell(row, test)->formula.str(), "=RC1+" + std::to_string(test));
        }
    }
    sheet.deleteColumns(1, 299);
    EXPECT_EQ(sheet.cellCount(), 20u);
    EXPECT_EQ(sheet.cell(20, 1)->formula, "=RC1+300");
}

} // namespace
} // namespace kelvor
