#pragma once

#include "host/app/calc/FormulaCells.h"

#include "host/model/FormulaText.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvor {

class Worksheet;

// A column of a formula sheet as the last calculation left it: its revision once its results
// were stored, and the formula texts its cells held (none: no formula). A column that did not
// change since, whose formulas read nothing that changed, keeps its results; a run passes it
// by instead of walking its cells. The summary plot's offset sheet holds one formula column per
// test: without this a batch of a thousand tests walked a million cells at every export.
struct FormulaColumn {
    std::uint64_t revision = 0;
    std::vector<FormulaText> texts; // copies of the cells' own: compared without reading
};

// By column number.
using FormulaColumns = std::unordered_map<std::uint32_t, FormulaColumn>;

// The columns a run must walk, and those it may pass by: a column is passed by when it is
// recorded, has not changed since, and `current` says each of its formula texts reads nothing
// that changed. Empty `walk` and `passedBy` when the sheet has no record yet (walk it whole).
struct ColumnChoice {
    std::vector<std::uint32_t> walk;
    std::vector<std::uint32_t> passedBy;
    bool whole = true;
};
ColumnChoice chooseColumns(const Worksheet& sheet, const FormulaColumns& recorded,
                           const std::function<bool(const FormulaText& text)>& current);

// Appends the formulas of the given columns (ascending), column by column, top down.
void appendFormulasOfColumns(Worksheet& sheet, const std::vector<std::uint32_t>& columns,
                             std::vector<FormulaCell>& formulas);

// The sheet's record after a run that walked it whole: every column up to its last cell, with
// the texts of its formulas and its revision now.
FormulaColumns recordColumns(const Worksheet& sheet);

// ... and after a run that walked only `walked` (ascending), whose formulas are `formulas`:
// their texts taken again, and every column's revision now.
void updateColumns(FormulaColumns& columns, const Worksheet& sheet,
                   const std::vector<std::uint32_t>& walked, const FormulaCell* first,
                   const FormulaCell* last);

} // namespace kelvor
