#pragma once

#include "host/model/Worksheet.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// One area of a chart series reference and the sheet it lies on.
struct SheetArea {
    std::string sheet;
    CellRange area;
    bool operator==(const SheetArea&) const = default;
};

// The reference a chart series keeps to cells, as the package stores it: "'Data 1'!$B$16:$B$115"
// for one area, "('Summary'!$B$8,'Summary'!$D$8)" for several.
std::string seriesReference(std::string_view sheet, const std::vector<CellRange>& areas);

// The areas of such a reference (a leading '=' is allowed); nothing when it is none.
std::optional<std::vector<SheetArea>> parseSeriesReference(std::string_view reference);

} // namespace kelvor
