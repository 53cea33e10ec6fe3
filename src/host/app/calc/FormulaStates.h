#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvor {

// The calculation state of the formula cells of one run, by cell key: open addressing, at
// most half full. An export calculates a report's formulas among hundreds of thousands passed
// by, so the table starts small and doubles as cells are met. Cells are visited down their
// columns, so the next row of a column takes the next slot: the table is walked, not jumped
// through.
class FormulaStates {
public:
    enum class State : std::uint8_t { Empty, New, Busy, Done };

    // The slot of the key; State::New for a key not seen before. Valid until the next call.
    State& operator[](std::uint64_t key) {
        if ((used_ + 1) * 2 > keys_.size()) {
            grow();
        }
        auto i = slotOf(key);
        if (states_[i] == State::Empty) {
            keys_[i] = key;
            states_[i] = State::New;
            ++used_;
        }
        return states_[i];
    }

private:
    // The key's slot, or the empty one where it would go.
    std::size_t slotOf(std::uint64_t key) const {
        const auto row = (key >> 14) & 0x1FFFFF;
        const auto column = key & 0x3FFF;
        const auto sheet = key >> 35;
        auto i = static_cast<std::size_t>(row + column * 1031 + sheet * 0x9E3779B1ULL) & mask_;
        while (states_[i] != State::Empty && keys_[i] != key) {
            i = (i + 1) & mask_;
        }
        return i;
    }

    void grow() {
        auto keys = std::move(keys_);
        auto states = std::move(states_);
        const std::size_t capacity = std::max<std::size_t>(1024, keys.size() * 2);
        keys_.assign(capacity, 0);
        states_.assign(capacity, State::Empty);
        mask_ = capacity - 1;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (states[i] != State::Empty) {
                const auto slot = slotOf(keys[i]);
                keys_[slot] = keys[i];
                states_[slot] = states[i];
            }
        }
    }

    std::vector<std::uint64_t> keys_;
    std::vector<State> states_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
};

} // namespace kelvor
