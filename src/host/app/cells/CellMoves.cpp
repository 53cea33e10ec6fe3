#include "host/app/cells/CellMoves.h"

#include "export/Spreadsheet.h"
#include "host/app/cells/CellEditing.h"
#include "host/app/cells/RangeAddress.h"
#include "host/app/errors/HostErrors.h"
#include "host/model/CellAddress.h"

#include <map>

namespace kelvor {

namespace {

using xl::xlShiftUp;

using Position = std::pair<std::uint32_t, std::uint32_t>;

std::vector<Position> storedPositions(const Worksheet& sheet, const CellRange& area) {
    std::vector<Position> positions;
    forEachStored(sheet, area, [&](std::uint32_t row, std::uint32_t column, const Cell&) {
        positions.emplace_back(row, column);
    });
    return positions;
}

// Moves the stored cells of `area` up by `up` rows and left by `left` columns.
void moveCells(Worksheet& sheet, const CellRange& area, std::uint32_t up, std::uint32_t left) {
    std::vector<std::tuple<std::uint32_t, std::uint32_t, Cell>> moved;
    forEachStored(sheet, area, [&](std::uint32_t row, std::uint32_t column, const Cell& cell) {
        moved.emplace_back(row, column, cell);
    });
    for (const auto& [row, column, cell] : moved) {
        sheet.removeCell(row, column);
    }
    for (auto& [row, column, cell] : moved) {
        sheet.setCell(row - up, column - left, std::move(cell));
    }
}

} // namespace

CellBlock readBlock(const Worksheet& sheet, const CellRange& area) {
    CellBlock block{area.lastRow - area.firstRow + 1, area.lastColumn - area.firstColumn + 1, {}};
    forEachStored(sheet, area, [&](std::uint32_t row, std::uint32_t column, const Cell& cell) {
        block.cells.emplace_back(row - area.firstRow, column - area.firstColumn, cell);
    });
    return block;
}

CellRange writeBlock(Workbook& book, Worksheet& sheet, std::uint32_t row, std::uint32_t column,
                     const CellBlock& block, const Styles& sourceStyles, PasteKind kind,
                     bool skipBlanks, bool transpose) {
    const auto rows = transpose ? block.columns : block.rows;
    const auto columns = transpose ? block.rows : block.columns;
    if (std::uint64_t{row} + rows - 1 > kMaxRows ||
        std::uint64_t{column} + columns - 1 > kMaxColumns) {
        throw methodError("Paste method of Worksheet class failed");
    }
    const CellRange target{row, column, row + rows - 1, column + columns - 1};
    std::map<Position, const Cell*> sources;
    for (const auto& [r, c, cell] : block.cells) {
        if (!cell.isEmpty() || kind == PasteKind::All || kind == PasteKind::Formats) {
            sources[transpose ? Position{c, r} : Position{r, c}] = &cell;
        }
    }
    const bool sameBook = &sourceStyles == &book.styles();
    const auto style = [&](StyleId id) {
        return sameBook ? id : book.styles().intern(sourceStyles.style(id));
    };
    if (!skipBlanks) {
        for (const auto& [r, c] : storedPositions(sheet, target)) {
            if (sources.contains({r - row, c - column})) {
                continue;
            }
            if (kind == PasteKind::All) {
                sheet.removeCell(r, c);
            } else if (kind == PasteKind::Formats) {
                sheet.setStyle(r, c, 0);
            } else {
                sheet.setValue(r, c, std::monostate{});
            }
        }
    }
    for (const auto& [offset, cell] : sources) {
        const auto r = row + offset.first;
        const auto c = column + offset.second;
        switch (kind) {
        case PasteKind::All: {
            Cell copy = *cell;
            copy.setStyle(style(cell->style()));
            if (copy.hasFormula()) {
                copy.setValue({}); // not calculated at its new place yet
            }
            sheet.setCell(r, c, std::move(copy));
            break;
        }
        case PasteKind::Formats:
            sheet.setStyle(r, c, style(cell->style()));
            break;
        case PasteKind::Formulas:
            if (cell->hasFormula()) {
                putFormula(sheet, r, c, cell->formula);
                break;
            }
            [[fallthrough]];
        case PasteKind::Values:
            putValue(sheet, r, c, cell->value());
            break;
        }
    }
    return target;
}

void fillDown(Worksheet& sheet, const CellRange& area) {
    auto last = area.lastRow;
    if (isWholeColumns(area)) {
        const auto used = sheet.usedRange();
        last = used ? std::min(last, used->lastRow) : area.firstRow;
    }
    for (auto column = area.firstColumn; column <= area.lastColumn; ++column) {
        const Cell* top = sheet.cell(area.firstRow, column);
        Cell copy = top != nullptr ? *top : Cell{};
        if (copy.hasFormula()) {
            copy.setValue({}); // calculated at its new place by the next calculation
        }
        for (auto row = area.firstRow + 1; row <= last; ++row) {
            sheet.setCell(row, column, copy);
        }
    }
}

void deleteCells(Worksheet& sheet, const CellRange& area, std::int32_t shift) {
    if (isWholeColumns(area)) {
        sheet.deleteColumns(area.firstColumn, area.lastColumn - area.firstColumn + 1);
        return;
    }
    if (shift == xl::xlShiftToLeft) {
        for (const auto& [row, column] : storedPositions(sheet, area)) {
            sheet.removeCell(row, column);
        }
        if (area.lastColumn < kMaxColumns) {
            moveCells(sheet, {area.firstRow, area.lastColumn + 1, area.lastRow, kMaxColumns}, 0,
                      area.lastColumn - area.firstColumn + 1);
        }
        return;
    }
    if (shift == xlShiftUp) {
        for (const auto& [row, column] : storedPositions(sheet, area)) {
            sheet.removeCell(row, column);
        }
        if (area.lastRow < kMaxRows) {
            moveCells(sheet, {area.lastRow + 1, area.firstColumn, kMaxRows, area.lastColumn},
                      area.lastRow - area.firstRow + 1, 0);
        }
        return;
    }
    throw methodError("Delete method of Range class failed");
}

} // namespace kelvor
