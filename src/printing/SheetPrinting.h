#pragma once

#include "host/view/BookView.h"

#include <cstdint>
#include <vector>

class QPagedPaintDevice;

namespace kelvor {

// Lays the given sheets (by Sheet id, in the order given) out as their page setup says and paints
// them on `device`, page after page (a QPrinter or a QPdfWriter). &N counts the pages of each
// sheet, as a spreadsheet prints.
void printSheets(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                 QPagedPaintDevice& device);

} // namespace kelvor
