#include "host/app/calc/FormulaCells.h"

#include "host/model/Worksheet.h"

#include <utility>

namespace kelvor {

bool calculable(const Cell& cell) {
    return cell.hasFormula() && cell.notation == FormulaNotation::R1C1;
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

} // namespace kelvor
