// A cell's formula, style and flags lie in its value's spare bytes, and its column in the cell's:
// changing any one of them must leave the others as they were. Formula texts live in one table
// of the process, shared by copies and let go of by the last one.
#include "host/model/FormulaTexts.h"
#include "host/model/Worksheet.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace kelvor {
namespace {

TEST(CellLayoutTest, EveryKindOfValueLeavesFormulaStyleAndColumnAlone) {
    Worksheet sheet(1, "Summary XOffset");
    sheet.setFormula(3, 16384, "='Data 1'!RC1+0.5", FormulaNotation::R1C1);
    sheet.setStyle(3, 16384, 0xFFFFFFFFU);
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
        EXPECT_EQ(cell->value, value);
        EXPECT_EQ(cell->formula.str(), "='Data 1'!RC1+0.5");
        EXPECT_EQ(cell->style, 0xFFFFFFFFU);
        EXPECT_EQ(cell->notation, FormulaNotation::R1C1);
        EXPECT_TRUE(cell->calculated);
        EXPECT_EQ(sheet.rows().at(3)[0].column, 16384u);
    }
    // Whole cells assigned over one another, of every kind in turn.
    for (std::size_t i = 0; i < values.size(); ++i) {
        Cell cell;
        cell.value = values[i];
        cell.formula = i % 2 == 0 ? FormulaText("=R1C1") : FormulaText();
        cell.style = static_cast<StyleId>(i + 1);
        cell.notation = i % 2 == 0 ? FormulaNotation::R1C1 : FormulaNotation::A1;
        sheet.setCell(3, 16384, cell);
        ASSERT_EQ(*sheet.cell(3, 16384), cell) << i;
        EXPECT_EQ(sheet.rows().at(3)[0].column, 16384u);
    }
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
