#pragma once

#include "host/model/CellBlocks.h"
#include "host/model/ColumnCell.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>
#include <vector>

namespace kelvor {

// The cells of one row, sorted by column.
using Row = std::span<const ColumnCell>;

// One row that holds cells: its number and where its cells lie, 12 bytes. A report's sheet
// keeps a thousand of them. Binds as [row, cells].
class RowEntry {
public:
    explicit RowEntry(std::uint32_t row) : row_(row) {}

    std::uint32_t row() const { return row_; }
    Row cells() const { return {first(), size()}; }
    std::span<ColumnCell> cells() { return {first(), size()}; }

    template <std::size_t I> auto get() const {
        if constexpr (I == 0) {
            return row_;
        } else {
            return cells();
        }
    }

private:
    friend class RowTable;

    // The room's address in one word kept as two halves, so that the entry aligns to four
    // bytes: the address's low 4 bits (room is aligned to a cell) hold the room's capacity up
    // to CellBlocks::kSmallest, or kLongRoom when a header before the cells holds it; bits 48
    // to 62 (above any user-space address) hold the number of cells.
    static constexpr std::uint64_t kAddress = 0x0000'FFFF'FFFF'FFF0ULL;
    static constexpr std::uint64_t kLongRoom = 0xF;

    std::uint64_t word() const { return std::uint64_t{high_} << 32 | low_; }
    void setWord(std::uint64_t word) {
        low_ = static_cast<std::uint32_t>(word);
        high_ = static_cast<std::uint32_t>(word >> 32);
    }
    std::size_t size() const { return static_cast<std::size_t>(word() >> 48); }
    // Where the room starts: at the header of long room, at the first cell of other room.
    ColumnCell* room() const { return reinterpret_cast<ColumnCell*>(word() & kAddress); }
    ColumnCell* first() const { return (word() & 0xF) == kLongRoom ? room() + 1 : room(); }
    std::uint32_t capacity() const;
    void setSize(std::size_t size) {
        setWord((word() & 0xFFFF'FFFF'FFFFULL) | std::uint64_t{size} << 48);
    }
    void setRoom(ColumnCell* room, std::uint32_t capacity, std::size_t size);

    std::uint32_t row_;
    std::uint32_t low_ = 0;
    std::uint32_t high_ = 0;
};

static_assert(sizeof(RowEntry) == 12);

// The rows of a sheet that hold cells, sorted by row number, in one array: a report's sheet has
// a thousand rows of two numbers each, and a tree node or heap block per row would weigh as
// much as its cells. Rows are mostly added at the end. Adding or removing a row moves the
// others' places in the table but not their cells; a row's cells move only when it gains
// cells beyond its room.
class RowTable {
public:
    using value_type = RowEntry;
    using const_iterator = std::vector<RowEntry>::const_iterator;
    using iterator = std::vector<RowEntry>::iterator;

    RowTable() = default;
    RowTable(const RowTable&) = delete;
    RowTable& operator=(const RowTable&) = delete;
    RowTable(RowTable&& other) noexcept;
    RowTable& operator=(RowTable&& other) noexcept;
    ~RowTable();

    const_iterator begin() const { return rows_.begin(); }
    const_iterator end() const { return rows_.end(); }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const RowEntry& front() const { return rows_.front(); }
    const RowEntry& back() const { return rows_.back(); }

    // The first row numbered `row` or later.
    const_iterator lower_bound(std::uint32_t row) const; // NOLINT: named as the map's it replaced
    const_iterator find(std::uint32_t row) const;
    bool contains(std::uint32_t row) const { return find(row) != end(); }
    // Throws std::out_of_range for a row that holds nothing.
    Row at(std::uint32_t row) const;

    // The place of `row`, its cells empty when it held none; places after it move on by one.
    iterator insert(const_iterator at, std::uint32_t row);
    // Removes the row and its cells.
    iterator erase(const_iterator at);
    iterator begin() { return rows_.begin(); }
    iterator end() { return rows_.end(); }

    // A new empty cell of `column` at place `index` of the row, the cells from there on moving
    // up by one.
    ColumnCell& insertCell(iterator row, std::size_t index, std::uint32_t column);
    // Removes the cells at places `first` to `last` (exclusive) of the row; the row stays.
    void eraseCells(iterator row, std::size_t first, std::size_t last);

private:
    void destroy(RowEntry& row) noexcept;

    std::vector<RowEntry> rows_;
    CellBlocks blocks_;
};

} // namespace kelvor

template <> struct std::tuple_size<kelvor::RowEntry> : std::integral_constant<std::size_t, 2> {};
template <> struct std::tuple_element<0, kelvor::RowEntry> { using type = std::uint32_t; };
template <> struct std::tuple_element<1, kelvor::RowEntry> { using type = kelvor::Row; };
