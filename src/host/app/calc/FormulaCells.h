#pragma once

#include "host/model/Cell.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvor {

class Worksheet;

// A formula cell met by calculation; its sheet is known from where it stands in the list.
// Small: a summary holds hundreds of thousands.
struct FormulaCell {
    const Cell* cell;
    std::uint32_t row;
    std::uint32_t column;
};

// Whether calculation works the cell out: an R1C1 formula.
bool calculable(const Cell& cell);

// Appends the sheet's formulas column by column, top down in each: the cells of a filled
// column share their formula and refer to consecutive rows, which keeps lookups cheap.
void appendFormulasByColumn(Worksheet& sheet, std::vector<FormulaCell>& formulas);

} // namespace kelvor
