#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvor {

// The calculation state of the formula cells of one run, by cell key. Open addressing with
// room for twice the workbook's formulas: it never grows and allocates once. Cells are
// visited down their columns, so the next row of a column takes the next slot: the table
// is walked, not jumped through.
class FormulaStates {
public:
    enum class State : std::uint8_t { Empty, New, Busy, Done };

    void reserve(std::size_t formulas) {
        std::size_t capacity = 16;
        while (capacity < formulas * 2) {
            capacity *= 2;
        }
        keys_.assign(capacity, 0);
        states_.assign(capacity, State::Empty);
        mask_ = capacity - 1;
    }

    // The slot of the key; State::New for a key not seen before.
    State& operator[](std::uint64_t key) {
        const auto row = (key >> 14) & 0x1FFFFF;
        const auto column = key & 0x3FFF;
        const auto sheet = key >> 35;
        auto i = static_cast<std::size_t>(row + column * 1031 + sheet * 0x9E3779B1ULL) & mask_;
        while (states_[i] != State::Empty && keys_[i] != key) {
            i = (i + 1) & mask_;
        }
        if (states_[i] == State::Empty) {
            keys_[i] = key;
            states_[i] = State::New;
        }
        return states_[i];
    }

private:
    std::vector<std::uint64_t> keys_;
    std::vector<State> states_;
    std::size_t mask_ = 0;
};

} // namespace kelvor
