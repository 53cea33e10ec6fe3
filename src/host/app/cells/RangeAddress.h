#pragma once

#include "host/model/Worksheet.h"

#include <optional>
#include <string_view>
#include <vector>

namespace kelvor {

// The areas of an A1 address: "A1", "$B$8", "A5:A7", "H:H", "15:15", "B8,D8". Nothing when
// the text is no address or reaches outside the sheet ("B115.5", "A0", "XFE1").
std::optional<std::vector<CellRange>> parseAddress(std::string_view address);

// Rows 1 to the last row of the sheet.
bool isWholeColumns(const CellRange& area);

// The smallest area holding both.
CellRange boundingArea(const CellRange& a, const CellRange& b);

std::uint64_t cellCount(const CellRange& area);

} // namespace kelvor
