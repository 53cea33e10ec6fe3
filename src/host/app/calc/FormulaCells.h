#pragma once

#include "host/model/Cell.h"
#include "host/model/RowTable.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
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

// Cells as calculation looks them up: mostly row after row of each sheet (a formula column
// refers to the same row of another sheet), so per sheet the row found last is tried first,
// then the next. Calculation only stores results into existing cells: rows are neither added
// nor removed while it runs, so the kept places stay valid for one run.
class CellFinder {
public:
    const Cell* find(const Worksheet& sheet, std::uint32_t row, std::uint32_t column);

private:
    std::unordered_map<const Worksheet*, RowTable::const_iterator> cursors_;
};

} // namespace kelvor
