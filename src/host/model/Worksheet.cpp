#include "host/model/Worksheet.h"

#include "host/model/CellAddress.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace kelvor {

namespace {

template <class Cells> auto findInRow(Cells cells, std::uint32_t column) {
    return std::lower_bound(cells.begin(), cells.end(), column,
                            [](const ColumnCell& c, std::uint32_t col) { return c.column < col; });
}

void checkColumn(std::uint32_t column) {
    checkCellPosition(1, column);
}

} // namespace

Worksheet::Worksheet(std::uint32_t id, std::string name)
    : Sheet(SheetKind::Worksheet, id, std::move(name)) {}

Worksheet::RowIterator Worksheet::findRow(std::uint32_t row) const {
    auto& rows = const_cast<RowTable&>(rows_);
    if (lastRow_ < rows.size()) {
        const auto last = rows.begin() + static_cast<std::ptrdiff_t>(lastRow_);
        if (last->row() == row) {
            return last;
        }
        if (last->row() < row && lastRow_ + 1 < rows.size() && std::next(last)->row() == row) {
            ++lastRow_;
            return std::next(last);
        }
    }
    const auto found = rows_.find(row);
    if (found == rows_.end()) {
        return rows.end();
    }
    lastRow_ = static_cast<std::size_t>(found - rows_.begin());
    return rows.begin() + static_cast<std::ptrdiff_t>(lastRow_);
}

void Worksheet::eraseRow(RowIterator row) {
    lastRow_ = noRow;
    rows_.erase(row);
}

const Cell* Worksheet::cell(std::uint32_t row, std::uint32_t column) const {
    checkCellPosition(row, column);
    const auto r = findRow(row);
    if (r == rows_.end()) {
        return nullptr;
    }
    const auto cells = std::as_const(*r).cells();
    const auto c = findInRow(cells, column);
    return c != cells.end() && c->column == column ? &c->cell : nullptr;
}

Cell& Worksheet::cellAt(std::uint32_t row, std::uint32_t column) {
    checkCellPosition(row, column);
    auto r = findRow(row);
    if (r == rows_.end()) {
        // Rows are mostly added at the end.
        const auto at =
            rows_.empty() || rows_.back().row() < row ? rows_.end() : rows_.lower_bound(row);
        r = rows_.insert(at, row);
        lastRow_ = static_cast<std::size_t>(r - rows_.begin());
    }
    const auto cells = std::as_const(*r).cells();
    // Reports are written top to bottom, left to right: appending is the common case.
    const auto at = cells.empty() || cells.back().column < column
                        ? cells.size()
                        : static_cast<std::size_t>(findInRow(cells, column) - cells.begin());
    if (at < cells.size() && cells[at].column == column) {
        return r->cells()[at].cell;
    }
    ++cellCount_;
    return rows_.insertCell(r, at, column).cell;
}

void Worksheet::dropIfEmpty(std::uint32_t row, std::uint32_t column) {
    const auto r = findRow(row);
    if (r == rows_.end()) {
        return;
    }
    const auto cells = std::as_const(*r).cells();
    const auto c = findInRow(cells, column);
    if (c != cells.end() && c->column == column && c->cell.isEmpty() && c->cell.style() == 0) {
        const auto at = static_cast<std::size_t>(c - cells.begin());
        rows_.eraseCells(r, at, at + 1);
        --cellCount_;
        if (cells.size() == 1) {
            eraseRow(r);
        }
    }
}

void Worksheet::setValue(std::uint32_t row, std::uint32_t column, CellValue value) {
    auto& target = cellAt(row, column);
    target.setValue(std::move(value));
    target.formula.clear();
    target.setNotation(FormulaNotation::A1);
    dropIfEmpty(row, column);
    touchCell(row, column);
}

void Worksheet::setFormula(std::uint32_t row, std::uint32_t column, FormulaText formula,
                           FormulaNotation notation, CellValue cachedValue) {
    auto& target = cellAt(row, column);
    target.setValue(std::move(cachedValue));
    target.formula = std::move(formula);
    target.setNotation(target.formula.empty() ? FormulaNotation::A1 : notation);
    target.setCalculated(false);
    if (target.formula.empty()) {
        dropIfEmpty(row, column); // a cell with a formula is never empty
    }
    touchCell(row, column);
}

void Worksheet::setCachedValue(std::uint32_t row, std::uint32_t column, CellValue value) {
    // Only an empty value can leave the cell empty; a calculation stores many results.
    const bool empty = std::holds_alternative<std::monostate>(value);
    cellAt(row, column).setValue(std::move(value));
    if (empty) {
        dropIfEmpty(row, column);
    }
    touchCell(row, column);
}

void Worksheet::setCachedValue(const Cell& cell, CellValue value) {
    // The cell is this sheet's own; only the const of the reading accessors is taken off.
    const_cast<Cell&>(cell).setValue(std::move(value));
    touchGrid();
}

void Worksheet::setCachedValue(const Cell& cell, CellValue value, std::uint32_t column) {
    const_cast<Cell&>(cell).setValue(std::move(value));
    touchColumn(column);
    rowsRevision_ = revision();
}

void Worksheet::setCachedValue(const Cell& cell, CellValue value, std::uint32_t row,
                               std::uint32_t column) {
    const_cast<Cell&>(cell).setValue(std::move(value));
    touchCell(row, column);
}

void Worksheet::touchColumn(std::uint32_t column) {
    touch();
    if (columnRevisions_.size() < column) {
        columnRevisions_.resize(column, 0);
    }
    columnRevisions_[column - 1] = revision();
}

void Worksheet::touchCell(std::uint32_t row, std::uint32_t column) {
    touchColumn(column);
    if (revision() - rowRevisionsBase_ > std::numeric_limits<std::uint32_t>::max()) {
        // Too far from the base to tell: every row counts as changed now, and the distances
        // start again from here.
        rowsRevision_ = revision();
        rowRevisionsBase_ = revision() - 1;
        rowRevisions_.clear();
    }
    const auto group = (row - 1) / kRowsPerRevision;
    if (rowRevisions_.size() <= group) {
        rowRevisions_.resize(group + 1, 0);
    }
    rowRevisions_[group] = static_cast<std::uint32_t>(revision() - rowRevisionsBase_);
}

void Worksheet::touchGrid() {
    touch();
    gridRevision_ = revision();
    rowsRevision_ = revision();
}

std::uint64_t Worksheet::columnsRevision(std::uint32_t first, std::uint32_t last) const {
    std::uint64_t latest = gridRevision_;
    for (auto c = first; c <= last && c <= columnRevisions_.size(); ++c) {
        if (c >= 1) {
            latest = std::max(latest, columnRevisions_[c - 1]);
        }
    }
    return latest;
}

void Worksheet::markCalculated(const Cell& cell) {
    const_cast<Cell&>(cell).setCalculated(true); // bookkeeping: the sheet did not change
}

void Worksheet::setStyle(std::uint32_t row, std::uint32_t column, StyleId style) {
    if (style > Cell::kMaxStyle) {
        throw std::out_of_range("no such cell format");
    }
    cellAt(row, column).setStyle(style);
    dropIfEmpty(row, column);
    touchCell(row, column);
}

void Worksheet::setCell(std::uint32_t row, std::uint32_t column, Cell cell) {
    cell.setCalculated(false); // in its new place it may read other cells
    cellAt(row, column) = std::move(cell);
    dropIfEmpty(row, column);
    touchCell(row, column);
}

void Worksheet::removeCell(std::uint32_t row, std::uint32_t column) {
    if (cell(row, column) != nullptr) {
        setCell(row, column, Cell{});
    }
}

void Worksheet::deleteColumns(std::uint32_t first, std::uint32_t count) {
    checkColumn(first);
    if (count == 0) {
        return;
    }
    const auto end = first + std::min(count, kMaxColumns - first + 1); // first column kept
    const auto shift = end - first;
    for (auto r = rows_.begin(); r != rows_.end();) {
        const auto held = std::as_const(*r).cells();
        const auto from = static_cast<std::size_t>(findInRow(held, first) - held.begin());
        const auto to = static_cast<std::size_t>(findInRow(held, end) - held.begin());
        cellCount_ -= to - from;
        rows_.eraseCells(r, from, to);
        const auto cells = r->cells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i >= from) {
                cells[i].column = static_cast<std::uint16_t>(cells[i].column - shift);
            }
            cells[i].cell.setCalculated(false); // what its references reach may have moved
        }
        if (cells.empty()) {
            lastRow_ = noRow;
            r = rows_.erase(r);
        } else {
            r = std::next(r);
        }
    }
    std::map<std::uint32_t, ColumnFormat> shifted;
    for (auto& [column, format] : columns_) {
        if (column < first) {
            shifted.emplace(column, format);
        } else if (column >= end) {
            shifted.emplace(column - shift, format);
        }
    }
    columns_ = std::move(shifted);
    touchGrid();
}

std::optional<CellRange> Worksheet::usedRange() const {
    if (rows_.empty()) {
        return std::nullopt;
    }
    CellRange range{rows_.front().row(), kMaxColumns, rows_.back().row(), 1};
    for (const auto& [row, cells] : rows_) {
        range.firstColumn = std::min<std::uint32_t>(range.firstColumn, cells.front().column);
        range.lastColumn = std::max<std::uint32_t>(range.lastColumn, cells.back().column);
    }
    return range;
}

void Worksheet::setColumnWidth(std::uint32_t column, double width, bool autoFitted) {
    checkColumn(column);
    if (!(width >= 0.0 && width <= 255.0)) {
        throw std::out_of_range("column width must lie between 0 and 255 characters");
    }
    auto& format = columns_[column];
    format.width = width;
    format.autoFitted = autoFitted;
    touchColumn(column);
}

void Worksheet::setColumnStyle(std::uint32_t column, StyleId style) {
    checkColumn(column);
    columns_[column].style = style;
    if (columns_[column] == ColumnFormat{}) {
        columns_.erase(column);
    }
    touchColumn(column);
}

const ColumnFormat* Worksheet::columnFormat(std::uint32_t column) const {
    checkColumn(column);
    const auto found = columns_.find(column);
    return found == columns_.end() ? nullptr : &found->second;
}

void Worksheet::setPageSetup(PageSetup pageSetup) {
    checkMargins(pageSetup);
    pageSetup_ = std::move(pageSetup);
    touch();
}

// Heights follow from the cells and their styles, whose every change is a change of the sheet
// already; fitting them to it is not one more.
void Worksheet::setRowHeights(std::map<std::uint32_t, double> heights) {
    if (heights != rowHeights_) {
        rowHeights_ = std::move(heights);
        heightsRevision_ = newRevision();
    }
}

void Worksheet::setSelection(SheetSelection selection) {
    if (selection != selection_) {
        selection_ = std::move(selection);
        touch();
    }
}

} // namespace kelvor
