#include "host/xlsx/SharedFormulas.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <tuple>
#include <vector>

namespace kelvor {
namespace {

using Runs = std::vector<SharedFormulas::Run>;
using Stretches = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

Stretches changed(const Runs& before, const Runs& after) {
    Stretches rows;
    for (const auto& stretch : changedRows(before, after)) {
        rows.emplace_back(stretch.firstRow, stretch.lastRow);
    }
    return rows;
}

// changedRows: which rows of a column a cached worksheet part must write again.

TEST(SharedFormulasTest, NoRowChangesWhenTheRunsAreTheSame) {
    EXPECT_EQ(changed({}, {}), Stretches{});
    const Runs runs = {{1, 4, 0}, {8, 20, 1}};
    EXPECT_EQ(changed(runs, runs), Stretches{});
}

TEST(SharedFormulasTest, ARunComingOrGoingChangesItsRowsOnly) {
    EXPECT_EQ(changed({}, {{5, 9, 0}}), (Stretches{{5, 9}}));
    EXPECT_EQ(changed({{5, 9, 0}}, {}), (Stretches{{5, 9}}));
    // From the sheet's first row; and down to its last.
    EXPECT_EQ(changed({}, {{1, 2, 0}}), (Stretches{{1, 2}}));
    EXPECT_EQ(changed({{1048570, 1048576, 3}}, {}), (Stretches{{1048570, 1048576}}));
}

TEST(SharedFormulasTest, ARunGrowingDownChangesItsTopCellAndTheNewRows) {
    // The top cell carries the run's range; the cells between keep their markup.
    EXPECT_EQ(changed({{5, 9, 0}}, {{5, 12, 0}}), (Stretches{{5, 5}, {10, 12}}));
    EXPECT_EQ(changed({{5, 12, 0}}, {{5, 9, 0}}), (Stretches{{5, 5}, {10, 12}}));
}

TEST(SharedFormulasTest, ARunMovedDownChangesTheRowsAtItsEnds) {
    EXPECT_EQ(changed({{3, 6, 0}}, {{4, 7, 0}}), (Stretches{{3, 4}, {7, 7}}));
}

TEST(SharedFormulasTest, ARenumberedRunChangesAllItsRowsAsOneStretch) {
    // Another si in every cell; the stretches meeting at the top cell's end are joined.
    EXPECT_EQ(changed({{2, 5, 0}}, {{2, 5, 1}}), (Stretches{{2, 5}}));
    // An earlier run gone renumbers the ones below it.
    EXPECT_EQ(changed({{1, 3, 0}, {5, 7, 1}}, {{5, 7, 0}}), (Stretches{{1, 3}, {5, 7}}));
}

TEST(SharedFormulasTest, ARunSplitInTwoChangesTheTopsOfBoth) {
    EXPECT_EQ(changed({{1, 6, 0}}, {{1, 3, 0}, {4, 6, 1}}), (Stretches{{1, 1}, {4, 6}}));
}

// The markup of one row under a list of runs: its run's si, and the range for a top cell.
std::optional<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> markup(const Runs& runs,
                                                                              std::uint32_t row) {
    for (const auto& run : runs) {
        if (row >= run.firstRow && row <= run.lastRow) {
            return row == run.firstRow ? std::tuple{run.index, run.firstRow, run.lastRow}
                                       : std::tuple{run.index, 0U, 0U};
        }
    }
    return std::nullopt;
}

Runs randomRuns(std::mt19937& random, std::uint32_t rows) {
    const auto below = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
    Runs runs;
    std::uint32_t si = 0;
    for (std::uint32_t row = 1; row < rows;) {
        row += below(4);
        const std::uint32_t last = row + 1 + below(5);
        if (last > rows) {
            break;
        }
        runs.push_back({row, last, si++ + below(2)});
        row = last + 1;
    }
    return runs;
}

TEST(SharedFormulasTest, TheStretchesAreExactlyTheRowsWrittenDifferently) {
    // Row by row against random runs: every changed row is in a stretch, no unchanged one is,
    // and the stretches come top down, apart, each as long as it can be.
    std::mt19937 random(20240611);
    constexpr std::uint32_t kRows = 40;
    for (int round = 0; round < 500; ++round) {
        const auto before = randomRuns(random, kRows);
        const auto after = randomRuns(random, kRows);
        std::vector<bool> expected(kRows + 2, false);
        for (std::uint32_t row = 1; row <= kRows; ++row) {
            expected[row] = markup(before, row) != markup(after, row);
        }
        std::vector<bool> got(kRows + 2, false);
        std::uint32_t below = 0;
        for (const auto& stretch : changedRows(before, after)) {
            ASSERT_LE(stretch.firstRow, stretch.lastRow);
            ASSERT_GT(stretch.firstRow, below + (below == 0 ? 0 : 1))
                << "not apart, round " << round;
            ASSERT_LE(stretch.lastRow, kRows);
            for (auto row = stretch.firstRow; row <= stretch.lastRow; ++row) {
                got[row] = true;
            }
            below = stretch.lastRow;
        }
        ASSERT_EQ(got, expected) << "round " << round;
    }
}

} // namespace
} // namespace kelvor
