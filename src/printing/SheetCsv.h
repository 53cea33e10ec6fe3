#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <filesystem>
#include <string>

namespace kelvor {

// The sheet's cells from A1 to its last used row and column as the workbook window displays
// them (each value through its number format), as comma-separated values: UTF-8 with a
// byte-order mark, one CR LF record per row.
std::string sheetCsv(const Worksheet& sheet, const Styles& styles);

// Writes sheetCsv to `path` under a temporary name, then renames it over `path`. An empty
// string on success, else a one-line reason for the user.
std::string saveSheetCsv(const Worksheet& sheet, const Styles& styles,
                         const std::filesystem::path& path);

} // namespace kelvor
