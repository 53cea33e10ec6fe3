// A cell's value is one word, its formula, style and flags lie beside it, and its column in the
// cell's spare bytes: changing any one of them must leave the others as they were. Formula texts
// live in one table of the process, shared by copies and let go of by the last one.
#include "host/model/FormulaTexts.h"
#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kelvor {
namespace {

TEST(CellLayoutTest, EveryKindOfValueLeavesFormulaStyleAndColumnAlone) {
    Worksheet sheet(1, "Summary XOffset");
    sheet.setFormula(3, 16384, "='Data 1'!RC1+0.5", FormulaNotation::R1C1);
    sheet.setStyle(3, 16384, Cell::kMaxStyle); // every bit a style may use
    sheet.markCalculated(*sheet.cell(3, 16384));
    const std::vector<CellValue> values{1.5,
                                        CellValue{std::string(64, 't')},
                                        true,
                                        CellError::NA,
                                        CellValue{""},
                                        -0.0,
                                        false,
                                        std::monostate{},
                                        2.5};
    for (const auto& value : values) {
        sheet.setCachedValue(3, 16384, value);
        const Cell* cell = sheet.cell(3, 16384);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->value(), value);
        EXPECT_EQ(cell->formula.str(), "='Data 1'!RC1+0.5");
        EXPECT_EQ(cell->style(), Cell::kMaxStyle);
        EXPECT_EQ(cell->notation(), FormulaNotation::R1C1);
        EXPECT_TRUE(cell->calculated());
        EXPECT_EQ(sheet.rows().at(3)[0].column, 16384u);
    }
    // Whole cells assigned over one another, of every kind in turn.
    for (std::size_t i = 0; i < values.size(); ++i) {
        Cell cell;
        cell.setValue(values[i]);
        cell.formula = i % 2 == 0 ? FormulaText("=R1C1") : FormulaText();
        cell.setStyle(static_cast<StyleId>(i + 1));
        cell.setNotation(i % 2 == 0 ? FormulaNotation::R1C1 : FormulaNotation::A1);
        sheet.setCell(3, 16384, cell);
        ASSERT_EQ(*sheet.cell(3, 16384), cell) << i;
        EXPECT_EQ(sheet.rows().at(3)[0].column, 16384u);
    }
}

TEST(CellLayoutTest, AValueComesBackAsItWasGivenAndTextsAreHeldOncePerCell) {
    // Numbers keep their bits, -0 and the extremes included; any NaN reads as a NaN.
    for (const double number :
         {0.0, -0.0, 1.0 / 3.0, -1e308, 5e-324, std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max()}) {
        const Cell cell(number);
        ASSERT_EQ(cell.kind(), CellKind::Number);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*cell.number()),
                  std::bit_cast<std::uint64_t>(number));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(std::get<double>(cell.value())),
                  std::bit_cast<std::uint64_t>(number));
    }
    for (const std::uint64_t bits :
         {0x7FF8000000000001ULL, 0xFFF8000000000000ULL, 0xFFF9000000000000ULL,
          0xFFFC0000DEADBEEFULL, 0x7FF0000000000001ULL}) {
        const Cell cell(std::bit_cast<double>(bits)); // NaNs that look like other kinds' words
        EXPECT_EQ(cell.kind(), CellKind::Number) << std::hex << bits;
        EXPECT_TRUE(std::isnan(*cell.number()));
        EXPECT_FALSE(cell == cell); // a NaN equals nothing, itself included
    }
    EXPECT_EQ(Cell(true).boolean(), true);
    EXPECT_EQ(Cell(false).value(), CellValue{false});
    EXPECT_EQ(Cell(CellError::Div0).value(), CellValue{CellError::Div0});
    EXPECT_EQ(Cell(CellValue{""}).kind(), CellKind::Text); // the empty text is a text
    EXPECT_EQ(*Cell(CellValue{""}).text(), "");
    EXPECT_TRUE(Cell().isEmpty());
    EXPECT_EQ(Cell(0.0), Cell(-0.0));
    EXPECT_NE(Cell(1.0), Cell(true));
    EXPECT_NE(Cell(CellValue{"1"}), Cell(1.0));

    // A text is one block shared by the cells and values made from it; the last one frees it
    // (the sanitizers see a leak or a double free).
    const SharedText text(std::string(100, 'x'));
    Cell first{CellValue{text}, "=A1", 5, FormulaNotation::R1C1};
    Cell second = first;
    EXPECT_TRUE(std::get<SharedText>(second.value()).sharedWith(text));
    EXPECT_EQ(second, first);
    Cell moved = std::move(first);
    EXPECT_TRUE(first.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from cell is empty
    second = moved;
    second = second;
    moved.setValue(2.0);
    EXPECT_EQ(*second.text(), std::string(100, 'x'));
    second.setValue(std::get<SharedText>(second.value())); // its own text given again
    EXPECT_EQ(*second.text(), std::string(100, 'x'));
    EXPECT_EQ(second.style(), 5u);
    EXPECT_EQ(second.notation(), FormulaNotation::R1C1);
    EXPECT_EQ(second.formula.str(), "=A1");

    // Formats beyond what two bytes beside the value hold are refused, not folded.
    EXPECT_THROW(Cell(1.0, {}, Cell::kMaxStyle + 1), std::out_of_range);
    Worksheet sheet(1, "Data 1");
    EXPECT_THROW(sheet.setStyle(1, 1, Cell::kMaxStyle + 1), std::out_of_range);
    EXPECT_EQ(sheet.cell(1, 1), nullptr);
    Styles styles;
    for (StyleId id = 1; id <= Cell::kMaxStyle; ++id) {
        Style style;
        style.numberFormat = "0." + std::to_string(id);
        ASSERT_EQ(styles.intern(style), id);
    }
    Style onePast;
    onePast.numberFormat = "one past";
    EXPECT_THROW(styles.intern(onePast), std::length_error);
}

TEST(CellLayoutTest, FormulaTextsAreSharedAndLetGoOfByTheirLastCopy) {
    const FormulaText first("=R[-1]C+1");
    const FormulaText copy = first;
    const FormulaText same("=R[-1]C+1");
    EXPECT_TRUE(copy.sharedWith(first));
    EXPECT_FALSE(same.sharedWith(first)); // the same text entered twice: equal, not shared
    EXPECT_EQ(same, first);
    EXPECT_NE(FormulaText("=R[-1]C+2"), first);
    EXPECT_TRUE(FormulaText().empty());
    EXPECT_TRUE(FormulaText("").empty());
    EXPECT_EQ(FormulaText().str(), "");

    // A text outlives the copy it was made with and goes with the last one; the room is given
    // to the next text without mixing the two up.
    FormulaText kept;
    {
        FormulaText made(std::string(200, '1'));
        kept = made;
    }
    EXPECT_EQ(kept.str(), std::string(200, '1'));
    kept = FormulaText("=2");
    FormulaText next("=3");
    EXPECT_EQ(kept.str(), "=2");
    EXPECT_EQ(next.str(), "=3");
    FormulaText moved = std::move(next);
    EXPECT_TRUE(next.empty()); // NOLINT(bugprone-use-after-move): a moved-from text is empty
    EXPECT_EQ(moved.str(), "=3");
    moved = std::move(moved);
    EXPECT_EQ(moved.str(), "=3");
}

TEST(CellLayoutTest, ThreadsMakeCopyAndDropTextsAtOnce) {
    // Calculation and the writer may hold copies on other threads while cells change.
    const FormulaText shared("=SUM(R1C1:R10C1)");
    std::vector<std::thread> threads;
    std::vector<std::string> wrong(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20000; ++i) {
                const FormulaText own("=" + std::to_string(t) + "+" + std::to_string(i));
                const FormulaText copy = shared;
                if (own.str() != "=" + std::to_string(t) + "+" + std::to_string(i) ||
                    copy.str() != "=SUM(R1C1:R10C1)") {
                    wrong[t] = own.str();
                    return;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto& text : wrong) {
        EXPECT_EQ(text, "");
    }
    EXPECT_EQ(shared.str(), "=SUM(R1C1:R10C1)");
}

} // namespace
} // namespace kelvor
