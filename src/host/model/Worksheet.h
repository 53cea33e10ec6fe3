#pragma once

#include "host/model/Cell.h"
#include "host/model/PageSetup.h"
#include "host/model/RowTable.h"
#include "host/model/Sheet.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kelvor {

struct ColumnFormat {
    // Width in characters of the default font's digits; no value for the default width.
    std::optional<double> width;
    bool autoFitted = false;
    StyleId style = 0;
    bool operator==(const ColumnFormat&) const = default;
};

struct CellRange {
    std::uint32_t firstRow;
    std::uint32_t firstColumn;
    std::uint32_t lastRow;
    std::uint32_t lastColumn;
    bool operator==(const CellRange&) const = default;
};

// What is selected on a worksheet, and which cell of it is the active one.
struct SheetSelection {
    std::vector<CellRange> areas{CellRange{1, 1, 1, 1}};
    std::uint32_t activeRow = 1;
    std::uint32_t activeColumn = 1;
    bool operator==(const SheetSelection&) const = default;
};

// A grid of cells, rows and columns 1-based. Only cells that hold something are stored.
// Positions outside the sheet throw std::out_of_range.
class Worksheet : public Sheet {
public:
    Worksheet(std::uint32_t id, std::string name);

    // Null when the cell holds nothing.
    const Cell* cell(std::uint32_t row, std::uint32_t column) const;

    // Replaces value and formula; the cell keeps its style.
    void setValue(std::uint32_t row, std::uint32_t column, CellValue value);
    // Sets a formula and its cached result; an empty formula makes the cell a plain value.
    void setFormula(std::uint32_t row, std::uint32_t column, FormulaText formula,
                    FormulaNotation notation, CellValue cachedValue = {});
    // Stores a formula's newly calculated result; on a plain cell it sets the value.
    void setCachedValue(std::uint32_t row, std::uint32_t column, CellValue value);
    // The same for a cell of this sheet as cell() or rows() gave it, without looking it up
    // again; the value must not be empty. Give its column where it is known.
    void setCachedValue(const Cell& cell, CellValue value);
    void setCachedValue(const Cell& cell, CellValue value, std::uint32_t column);
    void setCachedValue(const Cell& cell, CellValue value, std::uint32_t row, std::uint32_t column);
    // Notes that the formula of this sheet's cell was calculated; no change of the sheet.
    void markCalculated(const Cell& cell);
    void setStyle(std::uint32_t row, std::uint32_t column, StyleId style);
    void setCell(std::uint32_t row, std::uint32_t column, Cell cell);
    // Removes value, formula and style.
    void removeCell(std::uint32_t row, std::uint32_t column);

    // Removes `count` columns from `first` on; later cells and column formats move left.
    void deleteColumns(std::uint32_t first, std::uint32_t count);

    const RowTable& rows() const { return rows_; }

    // Heights in points of the rows fitted to more than the default; the others keep it. They
    // are derived from the cells, so setting them does not count as a change of the sheet.
    const std::map<std::uint32_t, double>& rowHeights() const { return rowHeights_; }
    void setRowHeights(std::map<std::uint32_t, double> heights);
    // What the writer writes of the sheet is as it was at this stamp: the revision, or the
    // last change of the row heights when that is newer.
    std::uint64_t writtenRevision() const { return std::max(revision(), heightsRevision_); }

    // Kept with the sheet: it is saved with it and shown when the sheet is opened.
    const SheetSelection& selection() const { return selection_; }
    void setSelection(SheetSelection selection);
    std::size_t cellCount() const { return cellCount_; }
    // The smallest range holding every stored cell; nothing for an empty sheet.
    std::optional<CellRange> usedRange() const;

    // Throws std::out_of_range for a width outside 0 to 255 characters.
    void setColumnWidth(std::uint32_t column, double width, bool autoFitted = false);
    void setColumnStyle(std::uint32_t column, StyleId style);
    // Null when the column has default width and style.
    const ColumnFormat* columnFormat(std::uint32_t column) const;
    const std::map<std::uint32_t, ColumnFormat>& columnFormats() const { return columns_; }

    // Not older than the last change that may have touched a cell of the columns `first` to
    // `last`: what was read from them stands while it stays the same.
    std::uint64_t columnsRevision(std::uint32_t first, std::uint32_t last) const;

    // Not older than the last change of a cell of the row; 0 for a row never written to. A
    // cell may have changed since revision `r` only where its column's columnsRevision is
    // newer than `r`, and this or rowsRevision is newer too.
    std::uint64_t rowRevision(std::uint32_t row) const {
        const auto group = (row - 1) / kRowsPerRevision;
        const auto since = group < rowRevisions_.size() ? rowRevisions_[group] : 0;
        return since == 0 ? 0 : rowRevisionsBase_ + since;
    }
    // Rows that share one revision: a change of one counts for its neighbours too.
    static constexpr std::uint32_t kRowsPerRevision = 8;
    // The last change whose rows are not known (any row may hold it).
    std::uint64_t rowsRevision() const { return rowsRevision_; }

    const PageSetup& pageSetup() const { return pageSetup_; }
    // Throws std::invalid_argument for a negative or non-finite margin.
    void setPageSetup(PageSetup pageSetup);

private:
    using RowIterator = RowTable::iterator;

    Cell& cellAt(std::uint32_t row, std::uint32_t column);
    void dropIfEmpty(std::uint32_t row, std::uint32_t column);
    // The row, found from the one looked up last when it is that one or the next: sheets are
    // mostly read and written row after row. rows_.end() when the row holds nothing.
    RowIterator findRow(std::uint32_t row) const;
    void eraseRow(RowIterator row);
    void touchColumn(std::uint32_t column);
    void touchCell(std::uint32_t row, std::uint32_t column);
    // A change whose columns are not known.
    void touchGrid();

    RowTable rows_;
    SheetSelection selection_;
    std::map<std::uint32_t, double> rowHeights_;
    std::uint64_t heightsRevision_ = 0;
    // The place in rows_ of the row looked up last, or noRow. Changed by reads too: a sheet is
    // not read from two threads at once.
    static constexpr std::size_t noRow = static_cast<std::size_t>(-1);
    mutable std::size_t lastRow_ = noRow;
    std::size_t cellCount_ = 0;
    std::map<std::uint32_t, ColumnFormat> columns_;
    PageSetup pageSetup_;
    std::vector<std::uint64_t> columnRevisions_;
    std::uint64_t gridRevision_ = revision();
    // The revision of each group of kRowsPerRevision rows as a distance from
    // rowRevisionsBase_, 0 for rows never written to: a sheet of a thousand rows of numbers
    // keeps 125 of them. What reads them only needs to know which rows may have changed.
    std::vector<std::uint32_t> rowRevisions_;
    std::uint64_t rowRevisionsBase_ = revision();
    std::uint64_t rowsRevision_ = revision();
};

} // namespace kelvor
