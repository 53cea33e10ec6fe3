#pragma once

#include "export/Spreadsheet.h"
#include "host/model/Workbook.h"

#include <string_view>

namespace kelvor {

// Writes the lines of `text` down from (row, column), one line a cell, each stored as text
// exactly as given (an empty line empties its cell). Returns the area written; nothing is
// written and 1004 thrown when the lines would reach past the last row.
CellRange pasteText(Worksheet& sheet, std::uint32_t row, std::uint32_t column,
                    std::string_view text);

// The column split: every cell of the one-column `source` area that holds something is split
// into fields, which go to `destination` from (row, column) on, one row per source row.
// Fields are read as typed in general format (see readGeneral), or kept as text for a column
// given format 2, or left out for format 9. Only the columns a row fills are written.
// Throws 1004 for a source of more than one column and when the fields would reach past the
// sheet's edge (nothing is written then).
void textToColumns(Workbook& book, const Worksheet& source, const CellRange& area,
                   Worksheet& destination, std::uint32_t row, std::uint32_t column,
                   const xl::TextToColumnsOptions& options);

} // namespace kelvor
