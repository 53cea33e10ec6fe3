#pragma once

#include "host/model/Cell.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace kelvor {

struct ColumnCell {
    std::uint32_t column;
    Cell cell;
};

// The cells of one row, sorted by column. Report rows hold a handful of cells, so a sorted
// vector beats any map here.
using Row = std::vector<ColumnCell>;

// The rows of a sheet that hold cells, sorted by row number, in one array: a report's sheet has
// a thousand rows of two numbers each, and a tree node per row would weigh as much as its
// cells. Rows are mostly added at the end. Adding or removing a row moves the others' places
// in the table but not their cells.
class RowTable {
public:
    using value_type = std::pair<std::uint32_t, Row>;
    using const_iterator = std::vector<value_type>::const_iterator;
    using iterator = std::vector<value_type>::iterator;

    const_iterator begin() const { return rows_.begin(); }
    const_iterator end() const { return rows_.end(); }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const value_type& front() const { return rows_.front(); }
    const value_type& back() const { return rows_.back(); }

    // The first row numbered `row` or later.
    const_iterator lower_bound(std::uint32_t row) const; // NOLINT: named as the map's it replaced
    const_iterator find(std::uint32_t row) const;
    bool contains(std::uint32_t row) const { return find(row) != end(); }
    // Throws std::out_of_range for a row that holds nothing.
    const Row& at(std::uint32_t row) const;

    // The place of `row`, its cells empty when it held none; places after it move on by one.
    iterator insert(const_iterator at, std::uint32_t row);
    iterator erase(const_iterator at) { return rows_.erase(at); }
    iterator begin() { return rows_.begin(); }
    iterator end() { return rows_.end(); }

private:
    std::vector<value_type> rows_;
};

} // namespace kelvor
