#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// The rows and columns (1-based, inclusive) one printed page of a worksheet holds.
struct PageCells {
    int firstRow;
    int lastRow;
    int firstColumn;
    int lastColumn;
    bool operator==(const PageCells&) const = default;
};

struct RowSpan {
    int first;
    int last;
    bool operator==(const RowSpan&) const = default;
};

// The rows of a print-title text as "$15:$15" or "$3:$4"; nothing for an empty or unreadable one.
std::optional<RowSpan> titleRowSpan(const std::string& printTitleRows);

// Breaks a sheet into pages as a spreadsheet prints it: rows fill a page down, columns across;
// pages go down the rows first, then over to the next columns. The title rows stand at the top
// of every page that begins below them and take their room there. `rowHeights` and
// `columnWidths` hold the size of each row and column from 1 on, in the units of the page's
// room; a row or column larger than the room gets a page of its own.
std::vector<PageCells> paginate(const std::vector<double>& rowHeights,
                                const std::vector<double>& columnWidths,
                                std::optional<RowSpan> titleRows, double roomHeight,
                                double roomWidth);

} // namespace kelvor
