#pragma once

#include "host/app/files/WorkbookFiles.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// Whether the user hears of the outcome of one write of a workbook. A file another program
// holds open stays so while the user works there: it is told once, and again only after a
// write of that workbook has succeeded. A workbook folder that is away is not told here (its
// check tells). Every other failure is told each time.
bool worthTelling(BookFile& file, const std::optional<WriteFailure>& failure);

// The message about workbooks that could not be written. `last`: the application lets go of
// them now; `rescued`: the files they went to instead.
std::string writeFailureMessage(const std::vector<WriteFailure>& failures, bool last,
                                const std::vector<std::filesystem::path>& rescued);

} // namespace kelvor
