#pragma once

#include "host/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace kelvor {

enum class PrintScope {
    Sheet, // the sheet shown
    Test,  // the shown sheet and its partner: a data sheet and its chart ("Data 3", "Data 3 Plot")
    Workbook, // every visible sheet, in order
};

// The ids of the sheets a scope takes, in workbook order; `shownId` is the sheet on screen.
std::vector<std::uint32_t> sheetsToPrint(const Workbook& book, std::uint32_t shownId,
                                         PrintScope scope);

} // namespace kelvor
