#include "host/model/RowTable.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

namespace kelvor {

namespace {

// Long room starts with one cell's worth of header: the capacity, then the cells.
struct LongRoomHeader {
    std::uint32_t capacity;
};
static_assert(sizeof(LongRoomHeader) <= sizeof(ColumnCell));

// Room of allocate(capacity) for the cells: what the blocks hand out, one more for long room.
std::uint32_t roomCells(std::uint32_t capacity) {
    return capacity > CellBlocks::kSmallest ? capacity + 1 : capacity;
}

} // namespace

std::uint32_t RowEntry::capacity() const {
    const auto code = static_cast<std::uint32_t>(word() & 0xF);
    if (code != kLongRoom) {
        return code;
    }
    return reinterpret_cast<const LongRoomHeader*>(room())->capacity;
}

void RowEntry::setRoom(ColumnCell* room, std::uint32_t capacity, std::size_t size) {
    const auto address = reinterpret_cast<std::uint64_t>(room);
    // Room is aligned to a cell and lies below 2^48, as user-space addresses do on the
    // platforms built for.
    if ((address & ~kAddress) != 0 || size > 0x7FFF) {
        std::terminate();
    }
    std::uint64_t code = capacity;
    if (capacity > CellBlocks::kSmallest) {
        code = kLongRoom;
        ::new (static_cast<void*>(room)) LongRoomHeader{capacity};
    }
    setWord(address | code | std::uint64_t{size} << 48);
}

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
    std::destroy_n(row.first(), row.size());
    blocks_.release(row.room(), roomCells(row.capacity()));
    row.setWord(0);
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
    const auto size = static_cast<std::uint32_t>(entry.size());
    const auto key = static_cast<std::uint16_t>(column);
    const auto held = entry.capacity();
    if (size < held) {
        ColumnCell* cells = entry.first();
        if (index == size) {
            std::construct_at(cells + size, ColumnCell{Cell{}, key});
        } else {
            std::construct_at(cells + size, std::move(cells[size - 1]));
            std::move_backward(cells + index, cells + size - 1, cells + size);
            cells[index] = ColumnCell{Cell{}, key};
        }
        entry.setSize(size + 1);
        return cells[index];
    }
    // Room grows by an eighth, not twice over: a summary's rows gain a cell per test, and
    // doubling would leave a row of a thousand tests with room for a thousand more. A new row
    // gets room for two, what a report's data row holds.
    const std::uint32_t capacity = size + std::max<std::uint32_t>(2, size / 8);
    ColumnCell* fresh = blocks_.allocate(roomCells(capacity));
    ColumnCell* cells = capacity > CellBlocks::kSmallest ? fresh + 1 : fresh;
    ColumnCell* old = entry.first();
    ColumnCell* oldRoom = entry.room();
    // Cells move without throwing: their value, formula and style are handles and numbers.
    std::uninitialized_move_n(old, index, cells);
    std::construct_at(cells + index, ColumnCell{Cell{}, key});
    std::uninitialized_move_n(old + index, size - index, cells + index + 1);
    std::destroy_n(old, size);
    blocks_.release(oldRoom, roomCells(held));
    entry.setRoom(fresh, capacity, size + 1);
    return cells[index];
}

void RowTable::eraseCells(iterator row, std::size_t first, std::size_t last) {
    auto& entry = *row;
    ColumnCell* cells = entry.first();
    const std::size_t size = entry.size();
    std::move(cells + last, cells + size, cells + first);
    std::destroy(cells + size - (last - first), cells + size);
    entry.setSize(size - (last - first));
}

} // namespace kelvor
