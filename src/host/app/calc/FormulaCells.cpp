#include "host/app/calc/FormulaCells.h"

#include "host/model/CellAddress.h"
#include "host/model/Worksheet.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kelvor {

bool calculable(const Cell& cell) {
    return cell.hasFormula() && cell.notation() == FormulaNotation::R1C1;
}

// Counted first, so that each lands in its place without a copy per column (a summary holds
// hundreds of thousands).
void appendFormulasByColumn(Worksheet& sheet, std::vector<FormulaCell>& formulas) {
    std::vector<std::size_t> starts;
    for (const auto& [row, cells] : sheet.rows()) {
        for (const auto& [column, cell] : cells) {
            if (calculable(cell)) {
                if (starts.size() <= column) {
                    starts.resize(column + 1, 0);
                }
                ++starts[column];
            }
        }
    }
    std::size_t next = formulas.size();
    for (auto& start : starts) {
        next += std::exchange(start, next);
    }
    formulas.resize(next);
    for (const auto& [row, cells] : sheet.rows()) {
        for (const auto& [column, cell] : cells) {
            if (calculable(cell)) {
                formulas[starts[column]++] = {&cell, row, column};
            }
        }
    }
}

const Cell* CellFinder::find(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        return nullptr;
    }
    const auto& rows = sheet.rows();
    const auto [slot, fresh] = cursors_.try_emplace(&sheet, rows.end());
    auto& at = slot->second;
    if (at == rows.end() || at->row() != row) {
        if (at != rows.end() && at->row() < row && std::next(at) != rows.end() &&
            std::next(at)->row() == row) {
            ++at;
        } else {
            const auto found = rows.find(row);
            if (found == rows.end()) {
                return nullptr;
            }
            at = found;
        }
    }
    const auto& cells = at->cells();
    const auto c =
        std::lower_bound(cells.begin(), cells.end(), column,
                         [](const ColumnCell& cc, std::uint32_t col) { return cc.column < col; });
    return c != cells.end() && c->column == column ? &c->cell : nullptr;
}

} // namespace kelvor
