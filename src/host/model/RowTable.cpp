#include "host/model/RowTable.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>

namespace kelvor {

RowTable::RowTable(RowTable&& other) noexcept
    : rows_(std::exchange(other.rows_, {})), blocks_(std::move(other.blocks_)) {}

RowTable& RowTable::operator=(RowTable&& other) noexcept {
    if (this != &other) {
        for (auto& row : rows_) {
            destroy(row);
        }
        rows_ = std::exchange(other.rows_, {});
        blocks_ = std::move(other.blocks_);
    }
    return *this;
}

RowTable::~RowTable() {
    for (auto& row : rows_) {
        destroy(row);
    }
}

void RowTable::destroy(RowEntry& row) noexcept {
    std::destroy_n(row.cells_, row.size_);
    blocks_.release(row.cells_, row.capacity_);
    row.cells_ = nullptr;
    row.size_ = 0;
    row.capacity_ = 0;
}

RowTable::const_iterator RowTable::lower_bound(std::uint32_t row) const {
    return std::lower_bound(rows_.begin(), rows_.end(), row,
                            [](const RowEntry& r, std::uint32_t n) { return r.row() < n; });
}

RowTable::const_iterator RowTable::find(std::uint32_t row) const {
    const auto found = lower_bound(row);
    return found != end() && found->row() == row ? found : end();
}

Row RowTable::at(std::uint32_t row) const {
    const auto found = find(row);
    if (found == end()) {
        throw std::out_of_range("the row holds no cells");
    }
    return found->cells();
}

RowTable::iterator RowTable::insert(const_iterator at, std::uint32_t row) {
    return rows_.insert(at, RowEntry{row});
}

RowTable::iterator RowTable::erase(const_iterator at) {
    const auto place = rows_.begin() + (at - rows_.cbegin());
    destroy(*place);
    return rows_.erase(place);
}

ColumnCell& RowTable::insertCell(iterator row, std::size_t index, std::uint32_t column) {
    auto& entry = *row;
    const std::uint32_t size = entry.size_;
    const auto key = static_cast<std::uint16_t>(column);
    if (size < entry.capacity_) {
        ColumnCell* cells = entry.cells_;
        if (index == size) {
            std::construct_at(cells + size, ColumnCell{Cell{}, key});
        } else {
            std::construct_at(cells + size, std::move(cells[size - 1]));
            std::move_backward(cells + index, cells + size - 1, cells + size);
            cells[index] = ColumnCell{Cell{}, key};
        }
        ++entry.size_;
        return cells[index];
    }
    // Room grows by an eighth, not twice over: a summary's rows gain a cell per test, and
    // doubling would leave a row of a thousand tests with room for a thousand more. A new row
    // gets room for two, what a report's data row holds.
    const std::uint32_t capacity = size + std::max<std::uint32_t>(2, size / 8);
    ColumnCell* room = blocks_.allocate(capacity);
    ColumnCell* old = entry.cells_;
    // Cells move without throwing: their value, formula and style are handles and numbers.
    std::uninitialized_move_n(old, index, room);
    std::construct_at(room + index, ColumnCell{Cell{}, key});
    std::uninitialized_move_n(old + index, size - index, room + index + 1);
    std::destroy_n(old, size);
    blocks_.release(old, entry.capacity_);
    entry.cells_ = room;
    entry.capacity_ = static_cast<std::uint16_t>(capacity);
    ++entry.size_;
    return room[index];
}

void RowTable::eraseCells(iterator row, std::size_t first, std::size_t last) {
    auto& entry = *row;
    ColumnCell* cells = entry.cells_;
    const std::size_t size = entry.size_;
    std::move(cells + last, cells + size, cells + first);
    std::destroy(cells + size - (last - first), cells + size);
    entry.size_ = static_cast<std::uint16_t>(size - (last - first));
}

} // namespace kelvor
