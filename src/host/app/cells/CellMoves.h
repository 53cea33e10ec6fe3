#pragma once

#include "host/model/Workbook.h"

#include <tuple>
#include <vector>

namespace kelvor {

// The stored cells of a copied area, by their offsets from its top left corner.
struct CellBlock {
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    std::vector<std::tuple<std::uint32_t, std::uint32_t, Cell>> cells;
};

CellBlock readBlock(const Worksheet& sheet, const CellRange& area);

enum class PasteKind { All, Values, Formats, Formulas };

// Writes the block with its top left corner at (row, column) and returns the area it covers.
// `sourceStyles` are the styles the block's style ids belong to (another workbook's, or
// this one's). All: values, formulas and formats, empty source cells empty their targets;
// Values: the values (formula results), targets keep their format; Formats: formats only;
// Formulas: formulas and values, targets keep their format. With skipBlanks an empty source
// cell leaves its target alone. Throws 1004 when the block would reach past the sheet's edge.
CellRange writeBlock(Workbook& book, Worksheet& sheet, std::uint32_t row, std::uint32_t column,
                     const CellBlock& block, const Styles& sourceStyles, PasteKind kind,
                     bool skipBlanks, bool transpose);

// Copies the top row of the area into every row below it (whole columns: down to the last
// row in use).
void fillDown(Worksheet& sheet, const CellRange& area);

// Removes the area's cells: whole columns go (later columns move left, with their widths and
// formats); otherwise cells to the right move left (xlShiftToLeft) or cells below move up
// (xlShiftUp). Throws 1004 for any other shift.
void deleteCells(Worksheet& sheet, const CellRange& area, std::int32_t shift);

} // namespace kelvor
