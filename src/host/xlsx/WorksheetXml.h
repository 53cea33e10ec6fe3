#pragma once

#include <string>

namespace kelvor {

class Worksheet;

// The worksheet part of a package: cells with inline strings, formulas with their cached
// results, column widths, page margins, header and footer. It depends on the worksheet alone,
// so it stays byte-identical while the sheet is unchanged.
std::string worksheetXml(const Worksheet& sheet);

// The width a package stores for a column `characters` digits wide (digits of 7 pixels,
// 5 pixels of padding).
double packageColumnWidth(double characters);

} // namespace kelvor
