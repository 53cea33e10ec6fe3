#pragma once

#include <string>
#include <string_view>

namespace kelvor {

// The file name (without extension) that stands for a sheet of a workbook, the same on Windows
// and Linux. A sheet name may hold < > " | and end in a dot or a blank, which Windows' file
// names cannot; those, "%" itself, a leading dot or blank (hidden, or lost in a listing) and the
// first letter of a device name (CON, NUL, COM1, ...) are written as "%" and two hex digits.
// Two sheet names never give the same file name. Text that is not UTF-8 is taken byte by byte.
std::string sheetFileName(std::string_view sheetName);

} // namespace kelvor
