#pragma once

#include "host/model/Workbook.h"

#include <functional>
#include <vector>

namespace kelvor {

// Cell writes as the spreadsheet makes them: a cell written for the first time takes the
// format of its column.
void putValue(Worksheet& sheet, std::uint32_t row, std::uint32_t column, CellValue value);
void putFormula(Worksheet& sheet, std::uint32_t row, std::uint32_t column, FormulaText formula);

// Calls `visit(row, column, cell)` for every stored cell of the area, row by row.
void forEachStored(const Worksheet& sheet, const CellRange& area,
                   const std::function<void(std::uint32_t, std::uint32_t, const Cell&)>& visit);

// Changes the format of every cell of the areas through `edit`. Whole columns change their
// column format and their stored cells; other areas change every cell, empty ones included,
// up to kMaxFormattedCells cells, and only their stored cells beyond that (whole rows too),
// so a range taken from a damaged report cannot fill the memory with empty formatted cells.
inline constexpr std::uint64_t kMaxFormattedCells = 65536;
void restyle(Workbook& book, Worksheet& sheet, const std::vector<CellRange>& areas,
             const std::function<void(Style&)>& edit);

// The style of a cell, or of its column when the cell is empty.
StyleId effectiveStyle(const Worksheet& sheet, std::uint32_t row, std::uint32_t column);

} // namespace kelvor
