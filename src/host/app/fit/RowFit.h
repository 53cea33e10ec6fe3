#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <optional>

namespace kelvor {

// The height of one line of text in a font of this size, in points, as rows are fitted:
// 12.75 for 10 points, on the application's grid of 0.75 points.
double lineHeight(double fontSize);

// The height in points a row of automatic height takes for these cells: that of its wrapped
// text's lines, when they need more than the default height.
std::optional<double> fittedRowHeight(const Row& cells, const Styles& styles);

// Fits the rows that hold wrapped text on several lines to those lines, as the application
// does for rows of automatic height; every other row keeps the default height.
void fitRowHeights(Worksheet& sheet, const Styles& styles);

} // namespace kelvor
