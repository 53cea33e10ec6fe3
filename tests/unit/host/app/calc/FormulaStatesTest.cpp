#include "host/app/calc/FormulaStates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kelvor {
namespace {

using State = FormulaStates::State;

// As the calculation keys a cell: sheet, row and column packed.
std::uint64_t cellKey(std::uint64_t sheet, std::uint64_t row, std::uint64_t column) {
    return sheet << 35 | row << 14 | column;
}

TEST(FormulaStatesTest, AKeyNotSeenBeforeIsNewAndKeepsWhatIsSetOnIt) {
    FormulaStates states;
    EXPECT_EQ(states[cellKey(1, 2, 3)], State::New);
    states[cellKey(1, 2, 3)] = State::Busy;
    EXPECT_EQ(states[cellKey(1, 2, 3)], State::Busy);
    states[cellKey(1, 2, 3)] = State::Done;
    EXPECT_EQ(states[cellKey(1, 2, 3)], State::Done);
}

TEST(FormulaStatesTest, TheAllZeroKeyIsACellLikeAnyOther) {
    // An empty slot's key is 0 too: only its state tells it from the cell keyed 0.
    FormulaStates states;
    EXPECT_EQ(states[0], State::New);
    states[0] = State::Done;
    EXPECT_EQ(states[0], State::Done);
    EXPECT_EQ(states[cellKey(0, 0, 1)], State::New);
    EXPECT_EQ(states[0], State::Done);
}

TEST(FormulaStatesTest, CellsLandingInTheSameSlotKeepStatesOfTheirOwn) {
    FormulaStates states;
    // Row 1031 of column 0 and row 0 of column 1 start at the same slot; so do rows 1023 and
    // 2047 of a 1024-slot table, the last slot, whose neighbour is the first.
    const std::vector<std::uint64_t> keys = {cellKey(0, 1031, 0), cellKey(0, 0, 1),
                                             cellKey(0, 1023, 0), cellKey(0, 2047, 0),
                                             cellKey(0, 3071, 0), cellKey(0, 0, 0)};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(states[keys[i]], State::New) << i;
        states[keys[i]] = i % 2 == 0 ? State::Busy : State::Done;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(states[keys[i]], i % 2 == 0 ? State::Busy : State::Done) << i;
    }
}

TEST(FormulaStatesTest, StatesOutliveTheTableGrowing) {
    // Whole columns of a report, on two sheets, as an export meets them: far past the first
    // table's 512 cells, so it doubles several times.
    FormulaStates states;
    const auto stateOf = [](std::uint64_t sheet, std::uint64_t row, std::uint64_t column) {
        return static_cast<State>(1 + (sheet + row + column) % 3);
    };
    for (std::uint64_t sheet = 1; sheet <= 2; ++sheet) {
        for (std::uint64_t column = 1; column <= 3; ++column) {
            for (std::uint64_t row = 1; row <= 2000; ++row) {
                ASSERT_EQ(states[cellKey(sheet, row, column)], State::New);
                states[cellKey(sheet, row, column)] = stateOf(sheet, row, column);
            }
        }
    }
    for (std::uint64_t sheet = 1; sheet <= 2; ++sheet) {
        for (std::uint64_t column = 1; column <= 3; ++column) {
            for (std::uint64_t row = 1; row <= 2000; ++row) {
                ASSERT_EQ(states[cellKey(sheet, row, column)], stateOf(sheet, row, column))
                    << sheet << " " << row << " " << column;
            }
        }
    }
    // A cell never met is still new among them all.
    EXPECT_EQ(states[cellKey(1, 2001, 1)], State::New);
    EXPECT_EQ(states[cellKey(3, 1, 1)], State::New);
}

TEST(FormulaStatesTest, TheSameCellOnAnotherSheetIsAnotherCell) {
    FormulaStates states;
    states[cellKey(1, 5, 2)] = State::Done;
    EXPECT_EQ(states[cellKey(2, 5, 2)], State::New);
    // Sheet numbers beyond 32 bits of the hash still tell sheets apart.
    states[cellKey(0x1FFFFFFF, 5, 2)] = State::Busy;
    EXPECT_EQ(states[cellKey(1, 5, 2)], State::Done);
    EXPECT_EQ(states[cellKey(0x1FFFFFFF, 5, 2)], State::Busy);
}

} // namespace
} // namespace kelvor
